#pragma once

#include <QLoggingCategory>

// The program's log, off by default. A user who reports a fault turns it on with
//     QT_LOGGING_RULES="scrivlet.*=true" scrivlet 2> scrivlet.log
// It records what otherwise fails silently or only shows a box: every box's text, files that
// could not be read or written, what the desktop did not open, script errors, a refused hotkey.
Q_DECLARE_LOGGING_CATEGORY(lcBox)
Q_DECLARE_LOGGING_CATEGORY(lcFile)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
Q_DECLARE_LOGGING_CATEGORY(lcScript)
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
