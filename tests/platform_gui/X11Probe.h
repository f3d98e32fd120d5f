#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include <xcb/xcb.h>

class QWidget;

// What the X server and the window manager say about our windows, for the X11 tests.
namespace x11probe {

// True on the xcb platform with a window manager that speaks EWMH.
bool available();
inline constexpr const char* kSkipReason = "needs an X display with a window manager";

QStringList netWmState(const QWidget* window);
// Client windows bottom to top.
QList<xcb_window_t> stacking();
bool isAbove(const QWidget* upper, const QWidget* lower);
xcb_window_t transientFor(const QWidget* window);
bool isMapped(const QWidget* window);

// Waits (running the event loop) until the condition holds; false on timeout.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

} // namespace x11probe
