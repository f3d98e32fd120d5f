#pragma once

#include <QStringList>

class QApplication;

namespace app {

// The program's start procedure: creates the main window, hands off to a running instance or
// initialises this one, and runs until the main window unloads. Returns the exit code.
int Main(QApplication& application, const QStringList& arguments);

} // namespace app
