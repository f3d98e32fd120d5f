#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <sys/types.h>

class QSocketNotifier;

namespace instance {

// The running instance's end of the channel: a Unix stream socket with user-only access, served
// from the UI thread's event loop. Each complete frame a client sends goes to the handler, whose
// text goes back as the reply frame. Plain sockets and socket notifiers: the program needs no
// network library for this, and a start pays for none.
class ChannelServer : public QObject {
public:
    // Takes a request text and returns the reply. It may run nested event loops (message boxes).
    using Handler = std::function<QString(const QString& request)>;

    ChannelServer(Handler handler, QObject* parent);
    // Stops listening and removes the socket file, unless another instance has replaced it.
    ~ChannelServer() override;

    // Removes whatever is left at `path` (the socket of an instance that died) and listens there.
    // False, with `error` set, when the socket cannot be created.
    bool listen(const QString& path, QString& error);
    bool isListening() const { return m_fd >= 0; }

private:
    void acceptClients();

    Handler m_handler;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QString m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace instance
