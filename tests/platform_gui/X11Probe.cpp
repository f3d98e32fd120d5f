#include "X11Probe.h"

#include "platform/gui/X11Support.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <cstdlib>

namespace x11probe {

namespace {
xcb_get_property_reply_t* property(xcb_window_t window, const char* name, xcb_atom_t type) {
    xcb_connection_t* c = platform::x11::connection();
    return xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, platform::x11::atom(name), type, 0, 4096), nullptr);
}

QString atomName(xcb_atom_t atom) {
    xcb_connection_t* c = platform::x11::connection();
    xcb_get_atom_name_reply_t* reply =
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
    QString name;
    if (reply)
        name = QString::fromLatin1(xcb_get_atom_name_name(reply),
                                   xcb_get_atom_name_name_length(reply));
    std::free(reply);
    return name;
}

template <typename T> QList<T> values(xcb_get_property_reply_t* reply) {
    QList<T> list;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const T*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
            list << data[i];
    }
    std::free(reply);
    return list;
}
} // namespace

bool available() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    return !values<xcb_window_t>(
                property(platform::x11::rootWindow(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW))
                .isEmpty();
}

QStringList netWmState(const QWidget* window) {
    QStringList names;
    for (xcb_atom_t atom : platform::x11::netWmState(xcb_window_t(window->winId())))
        names << atomName(atom);
    return names;
}

QList<xcb_window_t> stacking() {
    return values<xcb_window_t>(
        property(platform::x11::rootWindow(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW));
}

bool isAbove(const QWidget* upper, const QWidget* lower) {
    const QList<xcb_window_t> order = stacking();
    const qsizetype u = order.indexOf(xcb_window_t(upper->winId()));
    const qsizetype l = order.indexOf(xcb_window_t(lower->winId()));
    return u >= 0 && l >= 0 && u > l;
}

xcb_window_t transientFor(const QWidget* window) {
    const QList<xcb_window_t> list = values<xcb_window_t>(
        property(xcb_window_t(window->winId()), "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW));
    return list.isEmpty() ? 0 : list.first();
}

bool isMapped(const QWidget* window) {
    xcb_connection_t* c = platform::x11::connection();
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, xcb_window_t(window->winId())), nullptr);
    const bool mapped = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return mapped;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace x11probe
