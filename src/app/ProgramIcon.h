#pragma once

#include <QIcon>

namespace app {

// The program's icon in the sizes windows and trays show (16 to 64 px), from the resources
// compiled into the program: the window's, the tray's, the boxes' and the dialogs' icon.
QIcon ProgramIcon();

} // namespace app
