#include "AppInfo.h"

#include "app/AppVersion.h"
#include "app/VersionText.h"
#include "platform/MessageBox.h"
#include <QCoreApplication>

namespace app {

QString ProductName() {
    return QStringLiteral(SCRIVLET_PRODUCT_NAME);
}

QString LegalCopyright() {
    return QStringLiteral(SCRIVLET_LEGAL_COPYRIGHT);
}

QString AppTitleWithVersion() {
    return ProductName() + QLatin1Char(' ') + VersionText(false);
}

void ShowVersionBox() {
    const QString text =
        ProductName() + QLatin1Char(' ') + VersionText(true) + QLatin1Char('\n') + LegalCopyright();
    platform::showMessageBox(
        text, int(platform::mb::OKOnly) | platform::mb::Information,
        QCoreApplication::translate("AppInfo", "%1 のバージョン情報").arg(ProductName()));
}

} // namespace app
