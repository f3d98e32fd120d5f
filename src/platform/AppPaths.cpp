#include "AppPaths.h"
#include "platform/UiLanguage.h"

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
    if (installPrefix().isEmpty() && ::access(QFile::encodeName(exeFolder).constData(), W_OK) == 0)
        return withSlash(exeFolder);
    return withSlash(userFolder());
}

QString installPrefix() {
    // The executable does not move while it runs: look once. The AppStream file tells an
    // installation: only the install puts it there (a user may well write a scrivlet.desktop
    // for a copy of their own), and unlike the guide it is kept where documentation is left
    // out (slim images).
    static const QString prefix = [] {
        const QDir exeFolder = executable().absoluteDir();
        if (exeFolder.dirName() != QLatin1String("bin"))
            return QString();
        const QString folder = QDir::cleanPath(exeFolder.absoluteFilePath(QStringLiteral("..")));
        const bool installed = QFileInfo::exists(
            folder + QStringLiteral("/share/metainfo/org.scrivlet.Scrivlet.metainfo.xml"));
        return installed ? folder : QString();
    }();
    return prefix;
}

QString guideFileName() {
    return uiLanguage() == UiLanguage::Japanese ? QStringLiteral("ReadMe.txt")
                                                : QStringLiteral("ReadMe.en.txt");
}

QString guideFilePath() {
    const QString name = guideFileName();
    const QString beside = executable().absolutePath() + QLatin1Char('/') + name;
    const QString prefix = installPrefix();
    if (QFileInfo::exists(beside) || prefix.isEmpty())
        return beside;
    return prefix + QStringLiteral("/share/doc/scrivlet/") + name;
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
QString memoFilePath(const QString& memoFileName) {
    if (memoFileName.isEmpty())
        return defaultMemoFilePath();
    if (memoFileName == u'~' || memoFileName.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + memoFileName.mid(1);
    if (QFileInfo(memoFileName).isAbsolute())
        return memoFileName;
    return AppPath() + memoFileName;
}

QString userScriptFilePath() {
    return AppPath() + appBaseName() + QStringLiteral(".vbs");
}

void setProgramIdentity(const QString& folder, const QString& baseName) {
    g_folder = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
    g_baseName = baseName;
}

} // namespace platform
