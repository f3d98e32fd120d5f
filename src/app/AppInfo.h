#pragma once

#include "app/VersionText.h"

#include <QString>

// The program's identity: product name, version and legal notice, as the build stamps them.
namespace app {

QString ProductName();    // "Scrivlet"
QString LegalCopyright(); // the legal-notice line of the version box

// Product name, a blank and the version without revision: the title of the program's own boxes
// and the tray tooltip.
QString AppTitleWithVersion();

// The version-information box (information icon, OK).
void ShowVersionBox();

} // namespace app
