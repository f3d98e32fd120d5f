#include "CTray.h"

#include "StatusNotifierWatch.h"
#include "HookRegistry.h"
#include "platform/gui/X11Support.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdlib>

namespace {

// A tray host announces itself with a MANAGER message on the root window when it starts; the
// hooked windows then get CTray::TaskbarCreated, as a restarted shell would send it.
class TrayHostWatcher : public QAbstractNativeEventFilter {
public:
    static void ensure() {
        static TrayHostWatcher* watcher = nullptr;
        xcb_connection_t* c = platform::x11::connection();
        if (watcher || !c)
            return;
        watcher = new TrayHostWatcher;
        qApp->installNativeEventFilter(watcher);
        // Structure notices of the root window carry the announcement; keep what Qt selected.
        const xcb_window_t root = platform::x11::rootWindow();
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr);
        const uint32_t mask =
            (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        std::free(attributes);
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (client->type != platform::x11::atom("MANAGER") ||
            client->data.data32[1] != platform::x11::atom("_NET_SYSTEM_TRAY_S0"))
            return false;
        // After Qt has seen the new host too.
        QTimer::singleShot(0, qApp, [] {
            for (const desktop::WindowHandle window : desktop::hookedWindows())
                desktop::SendWindowMessage(window, CTray::TaskbarCreated, 0, 0);
        });
        return false;
    }
};

} // namespace

CTray::CTray(QObject* parent) : QObject(parent) {
    // Without X11 there is no XEmbed tray: only a StatusNotifierItem host can show the icon, and
    // one that starts after the program (as at login) needs a fresh icon object.
    m_waitsForWatcher = !platform::x11::connection() &&
                        QGuiApplication::platformName() != QLatin1String("offscreen");
    if (m_waitsForWatcher) {
        auto* watch = new desktop::StatusNotifierWatch(this);
        connect(watch, &desktop::StatusNotifierWatch::appeared, this, &CTray::makeIcon);
        if (watch->isPresent())
            makeIcon();
    } else {
        makeIcon();
    }
    // The embedded icon (XEmbed) is a widget of this program: its own mouse events say more than
    // the activations (pointer moves, presses and releases apart).
    qApp->installEventFilter(this);
    TrayHostWatcher::ensure();
}

void CTray::makeIcon() {
    delete m_icon;
    m_icon = new QSystemTrayIcon(this);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onActivated(int(reason)); });
    m_icon->setIcon(m_iconPicture);
    m_icon->setToolTip(m_tooltip);
    if (hostDrawsMenu() && m_hostMenu)
        m_icon->setContextMenu(m_hostMenu);
    if (m_visible)
        m_icon->show();
}

CTray::~CTray() {
    if (m_visible)
        DeleteIcon();
    desktop::UnhookWindow(this);
}

void CTray::setIcon(const QIcon& icon) {
    m_iconPicture = icon;
    if (m_icon)
        m_icon->setIcon(icon);
}

void CTray::setTooltipText(const QString& text) {
    m_tooltip = text.left(TooltipLength);
    if (m_icon)
        m_icon->setToolTip(m_tooltip);
}

void CTray::setVisible(bool visible) {
    if (visible)
        AddIcon(m_hWnd);
    else
        DeleteIcon();
}

bool CTray::AddIcon(desktop::WindowHandle hWnd) {
    if (m_iconPicture.isNull())
        return false;
    m_hWnd = hWnd;
    // A fresh add, so that a restarted host gets the icon even where the toolkit does not dock
    // it again by itself.
    if (m_icon) {
        m_icon->hide();
        m_icon->show();
    }
    desktop::HookWindow(this);
    m_visible = true;
    return true;
}

void CTray::DeleteIcon() {
    if (m_icon)
        m_icon->hide();
    desktop::UnhookWindow(this);
    m_visible = false;
}

void CTray::PopupMenu(QWidget*, QMenu* menu, QAction* defaultItem) {
    if (!menu)
        return;
    menu->setDefaultAction(defaultItem);
    // Without the host, a menu popped at the pointer of a hidden window opens as a window of its
    // own in the middle of a Wayland screen.
    if (!hostDrawsMenu())
        menu->popup(QCursor::pos());
}

void CTray::setHostMenu(QMenu* menu, QAction* defaultItem) {
    m_hostMenu = menu;
    if (menu)
        menu->setDefaultAction(defaultItem);
    if (m_icon && hostDrawsMenu())
        m_icon->setContextMenu(menu);
}

bool CTray::hostDrawsMenu() const {
    return m_waitsForWatcher;
}

bool CTray::isTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void CTray::notify(int mouseMessage) {
    if (m_visible)
        desktop::SendWindowMessage(m_hWnd, desktop::msg::TrayCallback, 0, mouseMessage);
}

std::intptr_t CTray::WindowProc(desktop::WindowHandle, int iMsg, std::intptr_t,
                                std::intptr_t lParam) {
    using namespace desktop::mouse;
    if (iMsg == TaskbarCreated) {
        if (m_visible)
            AddIcon(m_hWnd);
        return desktop::Consumed;
    }
    if (iMsg != desktop::msg::TrayCallback)
        return desktop::PassOn;
    switch (lParam) {
    case Move:
        emit MouseMove();
        break;
    case LeftDown:
        emit MouseDown(1);
        break;
    case LeftUp:
        emit MouseUp(1);
        if (!m_doubleClicked)
            emit Click();
        m_doubleClicked = false;
        break;
    case LeftDoubleClick:
        emit DblClick();
        m_doubleClicked = true;
        break;
    case RightDown:
        emit MouseDown(2);
        break;
    case RightUp:
        emit MouseUp(2);
        break;
    case MiddleDown:
        emit MouseDown(4);
        break;
    case MiddleUp:
        emit MouseUp(4);
        break;
    case RightDoubleClick:
    case MiddleDoubleClick:
        break;
    default:
        return desktop::PassOn;
    }
    return desktop::Consumed;
}

bool CTray::eventFilter(QObject* watched, QEvent* event) {
    using namespace desktop::mouse;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick &&
        type != QEvent::Enter)
        return false;
    if (!watched->isWidgetType() || !watched->inherits("QSystemTrayIconSys"))
        return false;
    m_mouseEventsSeen = true;
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        static_cast<QWidget*>(watched)->setMouseTracking(true);
        notify(Move);
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int base = mouse->button() == Qt::LeftButton     ? LeftDown
                     : mouse->button() == Qt::RightButton  ? RightDown
                     : mouse->button() == Qt::MiddleButton ? MiddleDown
                                                           : 0;
    if (!base)
        return false;
    // Down, up and double-click follow each other in the numbering of every button.
    notify(type == QEvent::MouseButtonPress     ? base
           : type == QEvent::MouseButtonRelease ? base + 1
                                                : base + 2);
    return false;
}

// Where the icon is not a widget of this program (a StatusNotifierItem host), only activations
// arrive: they stand for the whole sequence of a click.
void CTray::onActivated(int reason) {
    using namespace desktop::mouse;
    if (m_mouseEventsSeen)
        return;
    switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Trigger:
        for (const int message : {Move, LeftDown, LeftUp})
            notify(message);
        break;
    case QSystemTrayIcon::DoubleClick:
        for (const int message : {LeftDoubleClick, LeftUp})
            notify(message);
        break;
    case QSystemTrayIcon::Context:
        for (const int message : {Move, RightDown, RightUp})
            notify(message);
        break;
    case QSystemTrayIcon::MiddleClick:
        for (const int message : {MiddleDown, MiddleUp})
            notify(message);
        break;
    default:
        break;
    }
}
