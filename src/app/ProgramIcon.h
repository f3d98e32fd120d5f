#pragma once

#include <QIcon>

namespace app {

// The program's icon in every size it was drawn in (16 to 256 px), from the resources compiled
// into the program: the window's, the tray's, the boxes' and the dialogs' icon.
QIcon ProgramIcon();

} // namespace app
