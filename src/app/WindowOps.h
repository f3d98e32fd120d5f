#pragma once

class QWidget;
class QPoint;

// Window helpers of the program, used by the main window and the dialogs alike.
namespace app {

// Puts a window into the topmost band or takes it out, without moving, sizing or activating it.
void SetTopMost(QWidget* window, bool on);

// Shows the window in its restored state (unless maximised) and makes it the active window.
bool ForceForeground(QWidget* window);

// Whether the window is the active window of the desktop.
bool IsForeground(const QWidget* window);

// Starts a move of the window by the window manager, as though its caption were pressed. False
// when the platform offers no system move; the caller then moves the window itself.
bool BeginWindowDrag(QWidget* window);

} // namespace app
