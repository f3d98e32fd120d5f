#include "cli/CliPorts.h"

#include <QCoreApplication>

namespace cli {

QString ConsoleWindow::AppTitleWithVersion() const {
    return QStringLiteral("Scrivlet Ver.") + QStringLiteral(SCRIVLET_VERSION_TEXT);
}

bool NoMemoStore::AddMessage(const QString& text) {
    m_err << "scrivlet-cli: no memo store; not filed: " << text << Qt::endl;
    return false;
}

} // namespace cli
