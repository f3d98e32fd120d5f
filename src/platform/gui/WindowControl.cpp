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
constexpr char kManualMove[] = "scrivlet-manual-move";
constexpr char kNetWmStates[] = "scrivlet-net-wm-states";

// The _NET_WM_STATE entries the program keeps on a window itself: off the task bar and pager, and
// the topmost band. Not through Qt's stays-on-top flag: Qt's X11 platform re-creates the native
// window at the next show after that flag changed, and QWidget::winId() then still names the
// destroyed window, so the activation request and these states went nowhere. The window keeps its
// id instead: a shown window is asked for through the window manager, a withdrawn one gets the
// entries in its property before every map (window managers drop the property when a window is
// hidden), asked for once more once it is managed (a manager still busy with the previous hide
// may drop the property after it was written).
class NetWmStates : public QObject {
public:
    static NetWmStates* of(QWidget* window) {
        if (auto* states = helperOf<NetWmStates>(window, kNetWmStates))
            return states;
        x11::internAtoms({"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                          "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STAYS_ON_TOP"});
        return new NetWmStates(window);
    }
    static const NetWmStates* find(const QWidget* window) {
        return helperOf<NetWmStates>(window, kNetWmStates);
    }

    void keepOffTaskbar() {
        if (m_offTaskbar)
            return;
        m_offTaskbar = true;
        if (m_window->isVisible())
            askForOffTaskbar();
    }
    void setAbove(bool on) {
        const bool changed = m_above != on;
        m_above = on;
        if (changed && m_window->isVisible())
            askForAbove(on);
    }
    bool above() const { return m_above; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // A spontaneous show is the window manager's (a restore); the window is managed then.
        if (watched == m_window && event->type() == QEvent::Show && !event->spontaneous()) {
            // The show event comes after the native window exists and before it is mapped.
            writeBeforeMap();
            if (QWindow* handle = m_window->windowHandle(); handle && handle != m_watchedHandle) {
                handle->installEventFilter(this);
                m_watchedHandle = handle;
            }
            m_confirmPending = true;
        } else if (watched == m_watchedHandle && event->type() == QEvent::Expose &&
                   m_confirmPending && m_watchedHandle->isExposed()) {
            m_confirmPending = false;
            if (m_offTaskbar)
                askForOffTaskbar();
            if (m_above)
                askForAbove(true);
        }
        return false;
    }

private:
    explicit NetWmStates(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QLatin1String(kNetWmStates));
        window->installEventFilter(this);
    }
    xcb_window_t id() const { return xcb_window_t(m_window->winId()); }
    void askForOffTaskbar() const {
        x11::changeNetWmState(id(), true, x11::atom("_NET_WM_STATE_SKIP_TASKBAR"),
                              x11::atom("_NET_WM_STATE_SKIP_PAGER"));
    }
    void askForAbove(bool on) const {
        x11::changeNetWmState(id(), on, x11::atom("_NET_WM_STATE_ABOVE"),
                              x11::atom("_NET_WM_STATE_STAYS_ON_TOP"));
    }
    // Written without reading it first: a withdrawn window's states are its client's to set, and
    // Qt merges its own into the property after this. No round trip to the server before the map.
    void writeBeforeMap() const {
        QList<xcb_atom_t> atoms;
        if (m_offTaskbar)
            atoms << x11::atom("_NET_WM_STATE_SKIP_TASKBAR")
                  << x11::atom("_NET_WM_STATE_SKIP_PAGER");
        if (m_above)
            atoms << x11::atom("_NET_WM_STATE_ABOVE") << x11::atom("_NET_WM_STATE_STAYS_ON_TOP");
        x11::setNetWmStateProperty(id(), atoms);
    }

    QWidget* m_window;
    QPointer<QWindow> m_watchedHandle;
    bool m_offTaskbar = false;
    bool m_above = false;
    bool m_confirmPending = false;
};
} // namespace

void setTopMost(QWidget* window, bool on) {
    if (!window)
        return;
    if (x11::connection()) {
        NetWmStates::of(window)->setAbove(on);
        return;
    }
    // Elsewhere the platform's flag is the only way. QWidget::setWindowFlags would hide a shown
    // window; the QWindow flag only changes the stacking, and the widget's copy is updated
    // without telling the window system, so a later re-creation keeps the band.
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
}

bool isTopMost(const QWidget* window) {
    if (!window)
        return false;
    // A window made with the stays-on-top flag is topmost whatever the helper says.
    const NetWmStates* states = NetWmStates::find(window);
    return (states && states->above()) || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
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
            if (x11::connection()) {
                send(m_window);
            } else {
                // A Wayland surface counts as mapped once its first frame is committed, which
                // the expose's own handling does, after this filter.
                QMetaObject::invokeMethod(
                    m_window,
                    [window = m_window] {
                        if (window)
                            send(window);
                    },
                    Qt::QueuedConnection);
            }
            deleteLater();
        }
        return false;
    }
    static void send(QWidget* window) {
        if (x11::connection())
            x11::requestActivation(xcb_window_t(window->winId()), x11::lastUserTimestamp());
        else
            window->windowHandle()->requestActivate(); // spends XDG_ACTIVATION_TOKEN on Wayland
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
    // On Wayland the activation request carries the token and a compositor ignores it for a
    // surface that is not mapped yet, so it waits for the expose like the X11 one.
    const bool wayland = QGuiApplication::platformName() == QLatin1String("wayland");
    if (!wayland)
        window->activateWindow();
    if ((x11::connection() || wayland) && window->windowHandle()) {
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

void keepOffTaskbar(QWidget* window) {
    if (window && x11::connection())
        NetWmStates::of(window)->keepOffTaskbar();
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
