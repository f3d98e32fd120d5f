#pragma once

class frmMemo;

namespace app {

// Shows the settings dialog modally over the window, on tab `tabIndex` (0 keeps the remembered
// tab). The window's ShowProperty runs it between releasing and registering the hotkey.
void showPropertyDialog(frmMemo& window, int tabIndex);

// Lets the program's timers run their lines through the window while it is loaded.
void connectTimers(frmMemo& window);

} // namespace app
