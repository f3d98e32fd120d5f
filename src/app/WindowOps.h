#pragma once

class QWidget;

// Window helpers of the program, used by the main window and the dialogs alike.
namespace app {

// Puts a window into the topmost band or takes it out, without moving, sizing or activating it.
void SetTopMost(QWidget* window, bool on);

// Shows the window in its restored state (unless maximised) and makes it the active window.
bool ForceForeground(QWidget* window);

// Whether the window is the active window of the desktop.
bool IsForeground(const QWidget* window);

// Moves the window with the pointer as though its caption were pressed (call from a mouse press).
void BeginWindowDrag(QWidget* window);

// The bar is reached through the tray icon and the hotkey, never through the task bar.
void keepOffTaskbar(QWidget* window);

} // namespace app
