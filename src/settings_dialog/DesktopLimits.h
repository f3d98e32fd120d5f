#pragma once

class QWidget;

// What the settings dialog shows differently where the desktop, not the program, decides: on
// Wayland the desktop owns the global shortcut, and a window may not place itself, stay on top
// or leave the task bar. Both work on the dialog's widgets by object name and change nothing
// under X11.
namespace settings_dialog {

// The hotkey box (txtHotKey) becomes read-only and its note (lblHotKeyInfo) tells the key the
// desktop gave and that the desktop's settings change it, with a button for the desktop's own
// dialog where it has one.
void showDesktopOwnedHotKey(QWidget* dialog);

// The options that only X11 honours are disabled and marked as such; their stored values stay.
void markX11OnlyOptions(QWidget* dialog);

} // namespace settings_dialog
