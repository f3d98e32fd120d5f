#pragma once

#include "app/AppVersion.h"

#include <QString>

// The version as both programs show it, from the one version the build stamps.
namespace app {

// "Ver.1.73", or with the revision "Ver.1.73.0253".
inline QString VersionText(bool withRevision) {
    QString text = QStringLiteral("Ver.%1.%2")
                       .arg(SCRIVLET_VERSION_MAJOR)
                       .arg(SCRIVLET_VERSION_MINOR, 2, 10, QLatin1Char('0'));
    if (withRevision)
        text += QStringLiteral(".%1").arg(SCRIVLET_VERSION_REVISION, 4, 10, QLatin1Char('0'));
    return text;
}

// What --version prints: the program, its version, the copyright and the licence.
inline QString VersionReport(const QString& program) {
    return program + QStringLiteral(" " SCRIVLET_VERSION "\n" SCRIVLET_LEGAL_COPYRIGHT
                                    "\n" SCRIVLET_LICENCE "\n");
}

} // namespace app
