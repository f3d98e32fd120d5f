#pragma once

class QWidget;

// Stacking, activation and moving of top-level windows, done the way X11 window managers expect
// and harmless elsewhere (offscreen tests, other platforms). Windows are passed as widgets: their
// native id can change when flags change, so it is never cached.
namespace platform {

// Puts the window into the topmost band or takes it out without moving, sizing, hiding or
// activating it, and without a new native window (its id stays). Works while it is hidden and
// before the first show too. On X11 the band is kept by these helpers, not in the window's
// flags: pass windows created without Qt::WindowStaysOnTopHint.
void setTopMost(QWidget* window, bool on);
bool isTopMost(const QWidget* window);

// Shows the window (restored, unless it is maximised), raises and activates it, and asks the
// window manager for activation as a pager would, with the last user timestamp, so that focus-
// stealing prevention lets it through. The request waits until the window is mapped. Always true.
bool forceForeground(QWidget* window);

// Whether the window is the one the window manager reports as active (Qt's view where no window
// manager reports it).
bool isForeground(const QWidget* window);

// Keeps the window off the task bar and the pager: the _NET_WM_STATE skip states are written
// before every show (window managers drop them when a window is hidden) and sent at once when the
// window is already shown.
void keepOffTaskbar(QWidget* window);

// Moves the window with the pointer as though its caption were pressed: the window manager's move
// where it offers one, else the window follows the pointer until the button is released. Call it
// from a mouse-press handler.
void beginWindowDrag(QWidget* window);

} // namespace platform
