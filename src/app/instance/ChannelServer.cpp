#include "ChannelServer.h"

#include "InstanceMessage.h"
#include "UnixSocket.h"

#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace instance {

namespace {

// A client that connects and then says nothing is dropped after this long.
constexpr int kIdleClientMs = 10000;

// One connected client: reads frames, answers each through the handler, and goes away when the
// client hangs up, breaks the framing or stays silent too long.
class ClientConnection : public QObject {
public:
    ClientConnection(int fd, const ChannelServer::Handler& handler, QObject* parent)
        : QObject(parent), m_fd(fd), m_handler(handler),
          m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAvailable(); });
        m_idle.setSingleShot(true);
        connect(&m_idle, &QTimer::timeout, this, [this] { close(); });
        m_idle.start(kIdleClientMs);
        readAvailable();
    }
    ~ClientConnection() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    void close() {
        m_notifier->setEnabled(false);
        m_idle.stop();
        ::close(m_fd);
        m_fd = -1;
        deleteLater();
    }

    void readAvailable() {
        if (m_fd < 0)
            return;
        char chunk[4096];
        for (;;) {
            const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got > 0) {
                m_buffer.append(chunk, got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
            // Hung up (or failed): requests already complete are still answered below.
            m_hungUp = true;
            break;
        }
        answerCompleteFrames();
    }

    void answerCompleteFrames() {
        QPointer<ClientConnection> alive(this);
        for (;;) {
            bool broken = false;
            const std::optional<QString> text = takeFrame(m_buffer, broken);
            if (broken) {
                close();
                return;
            }
            if (!text)
                break;
            // The handler may open a box with its own event loop: this client stays still
            // meanwhile.
            m_notifier->setEnabled(false);
            m_idle.stop();
            const QString reply = m_handler(*text);
            if (!alive || m_fd < 0)
                return;
            m_notifier->setEnabled(true);
            m_idle.start(kIdleClientMs);
            if (!m_hungUp && !sendAll(m_fd, encodeFrame(reply), std::chrono::milliseconds(1000)))
                m_hungUp = true;
        }
        if (m_hungUp)
            close();
    }

    int m_fd;
    ChannelServer::Handler m_handler;
    QSocketNotifier* m_notifier;
    QTimer m_idle;
    QByteArray m_buffer;
    bool m_hungUp = false;
};

} // namespace

ChannelServer::ChannelServer(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

ChannelServer::~ChannelServer() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    // Only our own socket file: after a takeover the path may already be another instance's.
    const QByteArray native = QFile::encodeName(m_path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && st.st_dev == m_device && st.st_ino == m_inode)
        ::unlink(native.constData());
}

bool ChannelServer::listen(const QString& path, QString& error) {
    m_path = path;
    const QByteArray native = QFile::encodeName(path);
    const int fd = listenAt(native, error);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0) {
        m_device = st.st_dev;
        m_inode = st.st_ino;
    }
    m_fd = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { acceptClients(); });
    return true;
}

void ChannelServer::acceptClients() {
    for (;;) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: all taken; anything else: try again at the next notification
        }
        if (!peerIsOwnUser(client)) {
            ::close(client); // another user's process: not a byte read, nothing answered
            continue;
        }
        new ClientConnection(client, m_handler, this);
    }
}

} // namespace instance
