#pragma once

#include <QObject>

class QSocketNotifier;

namespace app {

// Turns the signals a desktop session sends at log-off or shutdown (SIGTERM, SIGHUP, SIGINT) into
// a call on the UI thread, so the program can save what must survive before it ends.
class SessionEnd : public QObject {
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

signals:
    void requested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace app
