#include "WindowControl.h"

#include "X11Support.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {
// The helpers below are plain QObjects (no meta-object of their own), so they are found by name.
template <typename T> T* helperOf(const QWidget* window, const char* name) {
    return dynamic_cast<T*>(
        window->findChild<QObject*>(QLatin1String(name), Qt::FindDirectChildrenOnly));
}
constexpr char kActivationRequest[] = "scrivlet-activation-request";
constexpr char kTaskbarSkipper[] = "scrivlet-taskbar-skipper";
constexpr char kManualMove[] = "scrivlet-manual-move";
constexpr char kPendingTopMost[] = "scrivlet-pending-topmost";

// Changing the window flags of a hidden window that was shown before keeps the X11 platform from
// mapping it at the next show. Such a change waits here until the window is exposed again.
class PendingTopMost : public QObject {
public:
    PendingTopMost(QWidget* window, bool on) : QObject(window), m_window(window), m_on(on) {
        setObjectName(QLatin1String(kPendingTopMost));
        window->windowHandle()->installEventFilter(this);
    }
    void set(bool on) { m_on = on; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && m_window->windowHandle()->isExposed()) {
            m_window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, m_on);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_on;
};
} // namespace

void setTopMost(QWidget* window, bool on) {
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    // QWidget::setWindowFlags would hide a shown window; the QWindow flag only changes the
    // stacking. The widget's copy is updated without telling the window system, so a later
    // re-creation keeps the band.
    if (QWindow* handle = window->windowHandle()) {
        auto* pending = helperOf<PendingTopMost>(window, kPendingTopMost);
        if (window->isVisible() && !pending)
            handle->setFlag(Qt::WindowStaysOnTopHint, on);
        else if (pending)
            pending->set(on);
        else
            new PendingTopMost(window, on);
    }
    window->overrideWindowFlags(flags);
}

bool isTopMost(const QWidget* window) {
    if (!window)
        return false;
    const QWindow* handle = window->windowHandle();
    if (handle && !helperOf<PendingTopMost>(window, kPendingTopMost))
        return handle->flags().testFlag(Qt::WindowStaysOnTopHint);
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

namespace {

// Sends the activation request once the window is mapped (a request for an unmapped window is
// ignored by the window manager), then removes itself.
class ActivationRequest : public QObject {
public:
    explicit ActivationRequest(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QLatin1String(kActivationRequest));
        window->windowHandle()->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && m_window && m_window->windowHandle() == watched &&
            m_window->windowHandle()->isExposed()) {
            send(m_window);
            deleteLater();
        }
        return false;
    }
    static void send(QWidget* window) {
        x11::requestActivation(xcb_window_t(window->winId()), x11::lastUserTimestamp());
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

bool forceForeground(QWidget* window) {
    if (!window)
        return true;
    x11::watchUserTimestamps();
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    if (x11::connection() && window->windowHandle()) {
        if (window->windowHandle()->isExposed())
            ActivationRequest::send(window);
        else if (!helperOf<ActivationRequest>(window, kActivationRequest))
            new ActivationRequest(window);
    }
    return true;
}

bool isForeground(const QWidget* window) {
    if (!window || !window->isVisible() || !window->windowHandle())
        return false;
    if (x11::connection()) {
        if (const xcb_window_t active = x11::activeWindow())
            return active == xcb_window_t(window->winId());
    }
    return window->isActiveWindow();
}

namespace {

class TaskbarSkipper : public QObject {
public:
    explicit TaskbarSkipper(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QLatin1String(kTaskbarSkipper));
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show) {
            // The show event comes after the native window exists and before it is mapped.
            writeBeforeMap();
            if (QWindow* handle = m_window->windowHandle(); handle && handle != m_watchedHandle) {
                handle->installEventFilter(this);
                m_watchedHandle = handle;
            }
            m_confirmPending = true;
        } else if (watched == m_watchedHandle && event->type() == QEvent::Expose &&
                   m_confirmPending && m_watchedHandle->isExposed()) {
            // A window manager still busy with the previous hide may have dropped the property
            // again; once the window is managed, ask for the states the documented way too.
            m_confirmPending = false;
            sendToManagedWindow(m_window);
        }
        return false;
    }
    static void sendToManagedWindow(QWidget* window) {
        x11::changeNetWmState(xcb_window_t(window->winId()), true,
                              x11::atom("_NET_WM_STATE_SKIP_TASKBAR"),
                              x11::atom("_NET_WM_STATE_SKIP_PAGER"));
    }

private:
    // Qt may already have put its own states (topmost) into the property: add ours to them.
    void writeBeforeMap() {
        const auto id = xcb_window_t(m_window->winId());
        QList<xcb_atom_t> atoms = x11::netWmState(id);
        for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
            if (!atoms.contains(x11::atom(name)))
                atoms << x11::atom(name);
        }
        x11::setNetWmStateProperty(id, atoms);
    }

    QWidget* m_window;
    QPointer<QWindow> m_watchedHandle;
    bool m_confirmPending = false;
};

} // namespace

void keepOffTaskbar(QWidget* window) {
    if (!window || !x11::connection() || helperOf<TaskbarSkipper>(window, kTaskbarSkipper))
        return;
    x11::internAtoms({"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    new TaskbarSkipper(window);
    if (window->isVisible())
        TaskbarSkipper::sendToManagedWindow(window);
}

namespace {

// The window follows the pointer until the button is released. Watches the whole application:
// the press that started the drag grabbed the pointer for whichever child was under it.
class ManualMove : public QObject {
public:
    explicit ManualMove(QWidget* window)
        : QObject(window), m_window(window), m_start(QCursor::pos()), m_origin(window->pos()) {
        setObjectName(QLatin1String(kManualMove));
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton) {
                deleteLater();
                break;
            }
            m_window->move(m_origin + mouse->globalPosition().toPoint() - m_start);
            break;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::ApplicationDeactivate:
            deleteLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget* m_window;
    QPoint m_start;
    QPoint m_origin;
};

} // namespace

void beginWindowDrag(QWidget* window) {
    if (!window)
        return;
    if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove())
        return;
    delete helperOf<ManualMove>(window, kManualMove);
    new ManualMove(window);
}

} // namespace platform
