#include "platform/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

const QString kEntryName = QStringLiteral("scrivlet.desktop");

QString configHome() {
    // Relative values are to be ignored, as the base directory rules say.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

bool isTrue(const QString& value) {
    return value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// TryExec names the program as a plain string: after the program is removed, the desktop skips
// the entry at login instead of failing to start it.
QString tryExecValue(const QString& program) {
    QString value = program;
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return value;
}

} // namespace

QString autostartEntryPath() {
    return configHome() + QStringLiteral("/autostart/") + kEntryName;
}

bool isStartedAtLogin() {
    QFile file(autostartEntryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String("Hidden") && isTrue(value))
            return false;
        if (key == QLatin1String("X-GNOME-Autostart-enabled") && !isTrue(value))
            return false;
    }
    return true;
}

QString desktopEntryExec(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = program;
    bool needsQuotes = false;
    for (const QChar c : program)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (needsQuotes) {
        QString quoted;
        for (const QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // Field codes start with "%"; a literal one is doubled. The value's own escape doubles "\".
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return argument;
}

WriteResult setStartedAtLogin(bool on, const QString& program) {
    const QString path = autostartEntryPath();
    if (!on) {
        QFile file(path);
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return WriteResult{true, 0, QString()};
        if (file.remove())
            return WriteResult{true, 0, QString()};
        return WriteResult{false, 0, file.errorString()};
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return WriteResult{
            false, errno,
            QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)))};
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Scrivlet\n"
                                         "Comment=One input line for commands, sums and memos\n"
                                         "Comment[ja]=コマンド・計算・メモのための入力行\n"
                                         "Exec=%1\n"
                                         "TryExec=%2\n"
                                         "Icon=scrivlet\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(desktopEntryExec(program), tryExecValue(program));
    return writeFileAtomically(path, entry.toUtf8());
}

} // namespace platform
