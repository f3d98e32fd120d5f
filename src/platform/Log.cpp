#include "platform/Log.h"

// Below critical, nothing is written unless the logging rules ask for it.
Q_LOGGING_CATEGORY(lcBox, "scrivlet.box", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcFile, "scrivlet.file", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcShell, "scrivlet.shell", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcScript, "scrivlet.script", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcDesktop, "scrivlet.desktop", QtCriticalMsg)
