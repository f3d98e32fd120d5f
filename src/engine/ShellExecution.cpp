#include "engine/ShellExecution.h"

#include "engine/LaunchTarget.h"
#include "engine/RegistryAccess.h"
#include "engine/TextTrim.h"
#include "platform/ShellExecute.h"

#include <QFileInfo>

namespace engine {

namespace {

bool runShell(const ShellExecuteInfo& info) {
    return platform::shellExecute(info.verb, info.file, info.parameters);
}

bool chooseApplication(const QString& file, bool* declined) {
    const platform::OpenWithResult result = platform::offerOpenWith(file);
    if (declined)
        *declined = result == platform::OpenWithResult::Declined;
    return result == platform::OpenWithResult::Started;
}

} // namespace

QString noLookupMarker() {
    return QString(QChar(u'\0'));
}

void InitExecuteInfo(ShellExecuteInfo& info) {
    info.verb = QStringLiteral("open");
    info.file.clear();
    info.parameters.clear();
}

bool ExecuteShell(const QString& target, const QString& verb, bool* declined) {
    ShellExecuteInfo info;
    InitExecuteInfo(info);
    info.file = target;

    // Program and parameters: a quoted program ends at its closing quote, otherwise at the first
    // space.
    if (!target.startsWith(QLatin1Char('"'))) {
        const qsizetype space = target.indexOf(QLatin1Char(' '));
        if (space >= 0) {
            info.file = target.left(space);
            info.parameters = target.mid(space + 1);
        }
    } else {
        const qsizetype close = target.indexOf(QLatin1Char('"'), 1);
        if (close > 0) {
            info.file = target.mid(1, close - 1);
            info.parameters = target.mid(close + 2);
        }
    }

    // "\\server\" opens the server itself.
    if (info.file.endsWith(QLatin1Char('\\')) && info.file.split(QLatin1Char('\\')).size() == 4 &&
        info.file.startsWith(QLatin1String("\\\\")))
        info.file.chop(1);

    info.file = trimSpaces(info.file);
    if (trimSpaces(info.parameters).isEmpty())
        info.parameters.clear();

    QString chosenVerb = verb.isEmpty() ? GetAssociatedVerb(info.file) : verb;
    if (chosenVerb == noLookupMarker()) {
        info.verb = QStringLiteral("open");
        return runShell(info);
    }
    if (chosenVerb.isEmpty()) {
        info.verb = QStringLiteral("open");
        if (runShell(info))
            return true;
        // No usable association: let the user choose; the typed parameters are dropped.
        return chooseApplication(info.file, declined);
    }
    info.verb = chosenVerb;
    if (runShell(info))
        return true;
    // The associations named a verb but nothing could carry it out (no application installed
    // for it): the user chooses, as for a file without an association.
    if (verb.isEmpty())
        return chooseApplication(info.file, declined);
    return false;
}

QString GetAssociatedVerb(const QString& path) {
    QString p = path;
    if (p.startsWith(QLatin1Char('"')))
        p = p.size() >= 2 ? p.mid(1, p.size() - 2) : QString();

    static const QString noLookupCharacters = QStringLiteral(",;*?\"<>|");
    if (looksLikeUrl(p))
        return noLookupMarker();
    for (const QChar c : p) {
        if (noLookupCharacters.contains(c))
            return noLookupMarker();
    }

    const QFileInfo info(platform::expandHome(p));
    if (p.isEmpty() || !info.exists())
        return noLookupMarker();
    if (info.isDir())
        return QStringLiteral("open");

    const QString fileName = p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    const QString extension = fileName.mid(dot);
    const QString typeName = GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\") + extension, {});
    if (typeName.isEmpty())
        return QString();
    const QString shellKey = QStringLiteral("HKEY_CLASSES_ROOT\\%1\\Shell").arg(typeName);
    const QString defaultVerb = GetRegString(shellKey, {});
    if (!defaultVerb.isEmpty())
        return defaultVerb;
    const QStringList verbs = GetRegSubKeys(shellKey);
    return verbs.isEmpty() ? QString() : verbs.first();
}

} // namespace engine
