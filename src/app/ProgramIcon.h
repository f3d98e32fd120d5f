#pragma once

#include <QIcon>

namespace app {

// The program's icon in the sizes windows and trays show (16 to 64 px), from the resources
// compiled into the program: the window's, the tray's, the boxes' and the dialogs' icon.
QIcon ProgramIcon();

// Makes it the icon of every window the program opens. Decoding it takes milliseconds, so the
// start does this after the first show, or before the first box when a box comes sooner.
void InstallProgramIcon();

} // namespace app
