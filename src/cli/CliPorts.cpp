#include "cli/CliPorts.h"

#include "app/VersionText.h"

namespace cli {

QString ConsoleWindow::AppTitleWithVersion() const {
    return QStringLiteral(SCRIVLET_PRODUCT_NAME " ") + app::VersionText(false);
}

} // namespace cli
