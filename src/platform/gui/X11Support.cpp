#include "X11Support.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QHash>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <memory>

namespace platform::x11 {

namespace {

xcb_timestamp_t g_lastUserTime = XCB_CURRENT_TIME;

class UserTimeRecorder : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
            g_lastUserTime = reinterpret_cast<const xcb_key_press_event_t*>(event)->time;
            break;
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
            g_lastUserTime = reinterpret_cast<const xcb_button_press_event_t*>(event)->time;
            break;
        default:
            break;
        }
        return false;
    }
};

// The server's current time: a zero-length property append on a private connection and the
// PropertyNotify it causes. Qt's connection cannot be used, its events belong to Qt's loop.
xcb_timestamp_t serverTime() {
    const char* display = std::getenv("DISPLAY");
    xcb_connection_t* c = xcb_connect(display, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    if (!xcb_connection_has_error(c)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t window = xcb_generate_id(c);
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &mask);
        xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            0, nullptr);
        xcb_flush(c);
        while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
            const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (found)
                time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            std::free(event);
            if (found)
                break;
        }
        xcb_destroy_window(c, window);
    }
    xcb_disconnect(c);
    return time;
}

} // namespace

xcb_connection_t* connection() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->connection();
    return nullptr;
}

xcb_window_t rootWindow() {
    xcb_connection_t* c = connection();
    return c ? xcb_setup_roots_iterator(xcb_get_setup(c)).data->root : 0;
}

namespace {
QHash<QByteArray, xcb_atom_t>& atomCache() {
    static QHash<QByteArray, xcb_atom_t> cache;
    return cache;
}
} // namespace

xcb_atom_t atom(const char* name) {
    const QByteArray key(name);
    if (const auto it = atomCache().constFind(key); it != atomCache().constEnd())
        return *it;
    internAtoms({name});
    return atomCache().value(key);
}

void internAtoms(std::initializer_list<const char*> names) {
    xcb_connection_t* c = connection();
    if (!c)
        return;
    // All requests first, then the replies: one round trip to the server for the lot.
    QList<std::pair<QByteArray, xcb_intern_atom_cookie_t>> pending;
    for (const char* name : names) {
        const QByteArray key(name);
        if (!atomCache().contains(key))
            pending.append({key, xcb_intern_atom(c, 0, uint16_t(key.size()), name)});
    }
    for (const auto& [key, cookie] : pending) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
        if (reply && reply->atom)
            atomCache().insert(key, reply->atom);
        std::free(reply);
    }
}

QList<xcb_atom_t> netWmState(xcb_window_t window) {
    QList<xcb_atom_t> atoms;
    xcb_connection_t* c = connection();
    if (!c || !window)
        return atoms;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 1024), nullptr);
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        atoms.reserve(count);
        for (int i = 0; i < count; ++i)
            atoms << data[i];
    }
    std::free(reply);
    return atoms;
}

void setNetWmStateProperty(xcb_window_t window, const QList<xcb_atom_t>& atoms) {
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.constData());
    xcb_flush(c);
}

namespace {
void sendToRoot(xcb_window_t window, xcb_atom_t type, const std::array<uint32_t, 5>& data) {
    xcb_connection_t* c = connection();
    if (!c || !window)
        return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    for (size_t i = 0; i < data.size(); ++i)
        event.data.data32[i] = data[i];
    xcb_send_event(c, 0, rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}
} // namespace

void changeNetWmState(xcb_window_t window, bool add, xcb_atom_t first, xcb_atom_t second) {
    // Source 1: a normal application.
    sendToRoot(window, atom("_NET_WM_STATE"), {add ? 1u : 0u, first, second, 1u, 0u});
}

xcb_window_t activeWindow() {
    xcb_connection_t* c = connection();
    if (!c)
        return 0;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(), atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    xcb_window_t window = 0;
    if (reply && reply->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(reply) == 4)
        window = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return window;
}

void requestActivation(xcb_window_t window, xcb_timestamp_t timestamp) {
    sendToRoot(window, atom("_NET_ACTIVE_WINDOW"), {2u, timestamp, 0u, 0u, 0u});
}

xcb_timestamp_t lastUserTimestamp() {
    if (g_lastUserTime != XCB_CURRENT_TIME)
        return g_lastUserTime;
    return connection() ? serverTime() : XCB_CURRENT_TIME;
}

void watchUserTimestamps() {
    static std::unique_ptr<UserTimeRecorder> recorder;
    if (recorder || !qGuiApp || !connection())
        return;
    recorder = std::make_unique<UserTimeRecorder>();
    qGuiApp->installNativeEventFilter(recorder.get());
}

} // namespace platform::x11
