#pragma once

#include "TestEnvironment.h"

#include <QByteArray>
#include <QString>

namespace initest {

// A settings file with the given bytes in a folder of its own.
inline QString iniWith(const QByteArray& bytes) {
    const QString path = testsupport::freshFolder(QStringLiteral("ini")) + QStringLiteral("/s.ini");
    testsupport::writeFile(path, bytes);
    return path;
}

inline QString missingIni() {
    return testsupport::freshFolder(QStringLiteral("ini")) + QStringLiteral("/s.ini");
}

} // namespace initest
