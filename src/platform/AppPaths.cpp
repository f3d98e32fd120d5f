#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {

namespace {

QString g_folder;
QString g_baseName;

QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QFileInfo executable() {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

QString userFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = base + QStringLiteral("/scrivlet");
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString AppPath() {
    if (!g_folder.isEmpty())
        return withSlash(g_folder);
    const QString exeFolder = QFileInfo(executable()).absolutePath();
    if (installedDocFolder().isEmpty() &&
        ::access(QFile::encodeName(exeFolder).constData(), W_OK) == 0)
        return withSlash(exeFolder);
    return withSlash(userFolder());
}

QString installedDocFolder() {
    // The executable does not move while it runs: look once.
    static const QString installed = [] {
        const QDir exeFolder = executable().absoluteDir();
        if (exeFolder.dirName() != QLatin1String("bin"))
            return QString();
        const QString folder =
            QDir::cleanPath(exeFolder.absoluteFilePath(QStringLiteral("../share/doc/scrivlet")));
        return QFileInfo::exists(folder + QStringLiteral("/ReadMe.txt")) ? folder : QString();
    }();
    return installed;
}

QString guideFilePath() {
    const QString beside = executable().absolutePath() + QStringLiteral("/ReadMe.txt");
    const QString installed = installedDocFolder();
    if (QFileInfo::exists(beside) || installed.isEmpty())
        return beside;
    return installed + QStringLiteral("/ReadMe.txt");
}

QString appBaseName() {
    if (!g_baseName.isEmpty())
        return g_baseName;
    return executable().completeBaseName();
}

QString settingsFilePath() {
    return AppPath() + appBaseName() + QStringLiteral(".ini");
}
QString defaultMemoFilePath() {
    return AppPath() + appBaseName() + QStringLiteral(".txt");
}
QString userScriptFilePath() {
    return AppPath() + appBaseName() + QStringLiteral(".vbs");
}

void setProgramIdentity(const QString& folder, const QString& baseName) {
    g_folder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
    g_baseName = baseName;
}

} // namespace platform
