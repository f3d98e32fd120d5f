#include "AfterFirstExpose.h"

#include "X11Support.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

class FirstExposeWatch : public QObject {
public:
    FirstExposeWatch(QWidget* window, std::function<void()> work, int fallbackMs)
        : QObject(window), m_work(std::move(work)) {
        window->winId();
        window->windowHandle()->installEventFilter(this);
        QTimer::singleShot(fallbackMs, this, [this] { run(); });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            // After Qt has painted and flushed the first frame, not in the middle of it.
            QTimer::singleShot(0, this, [this] { run(); });
        }
        return false;
    }

private:
    void run() {
        if (!m_work)
            return;
        auto work = std::move(m_work);
        m_work = nullptr;
        deleteLater();
        work();
    }
    std::function<void()> m_work;
};

} // namespace

void flushWindowSystem() {
    if (xcb_connection_t* connection = x11::connection())
        xcb_flush(connection);
}

void runAfterFirstExpose(QWidget* window, std::function<void()> work, int fallbackMs) {
    if (!window || !work)
        return;
    new FirstExposeWatch(window, std::move(work), fallbackMs);
}

} // namespace platform
