#include "AppInfo.h"

#include "app/AppVersion.h"
#include "platform/MessageBox.h"

namespace app {

QString ProductName() {
    return QStringLiteral(SCRIVLET_PRODUCT_NAME);
}

QString LegalCopyright() {
    return QStringLiteral(SCRIVLET_LEGAL_COPYRIGHT);
}

QString VersionText(bool withRevision) {
    QString text = QStringLiteral("Ver.%1.%2")
                       .arg(SCRIVLET_VERSION_MAJOR)
                       .arg(SCRIVLET_VERSION_MINOR, 2, 10, QLatin1Char('0'));
    if (withRevision)
        text += QStringLiteral(".%1").arg(SCRIVLET_VERSION_REVISION, 4, 10, QLatin1Char('0'));
    return text;
}

QString AppTitleWithVersion() {
    return ProductName() + QLatin1Char(' ') + VersionText(false);
}

void ShowVersionBox() {
    const QString text =
        ProductName() + QLatin1Char(' ') + VersionText(true) + QLatin1Char('\n') + LegalCopyright();
    platform::showMessageBox(text, int(platform::mb::OKOnly) | platform::mb::Information,
                             ProductName() + QStringLiteral(" のバージョン情報"));
}

} // namespace app
