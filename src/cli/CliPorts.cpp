#include "cli/CliPorts.h"

#include <QCoreApplication>

namespace cli {

QString ConsoleWindow::AppTitleWithVersion() const {
    return QStringLiteral("Scrivlet Ver.") + QStringLiteral(SCRIVLET_VERSION_TEXT);
}

} // namespace cli
