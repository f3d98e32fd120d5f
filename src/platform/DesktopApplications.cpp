#include "platform/DesktopApplications.h"

#include "platform/GioHandles.h"
#include "platform/ShellExecute.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace platform {

namespace {

QString keyString(GDesktopAppInfo* info, const char* key) {
    GCharPtr value(g_desktop_app_info_get_string(info, key));
    return value ? QString::fromUtf8(value.get()) : QString();
}

DesktopApplication describe(GAppInfo* app) {
    DesktopApplication application;
    const char* id = g_app_info_get_id(app);
    application.id = QString::fromUtf8(id ? id : "");
    // The untranslated Name: the key without a locale.
    application.name = keyString(G_DESKTOP_APP_INFO(app), "Name");
    const char* executable = g_app_info_get_executable(app);
    application.program = QFileInfo(QString::fromUtf8(executable ? executable : "")).fileName();
    application.terminal =
        g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal") == TRUE;
    return application;
}

// Every desktop application GIO knows, menus' or not, by desktop id.
QList<std::pair<DesktopApplication, bool>> allApplications() {
    QList<std::pair<DesktopApplication, bool>> applications;
    GList* all = g_app_info_get_all();
    for (GList* item = all; item; item = item->next) {
        auto* app = static_cast<GAppInfo*>(item->data);
        if (G_IS_DESKTOP_APP_INFO(app) && g_app_info_get_id(app))
            applications.append({describe(app), g_app_info_should_show(app) == TRUE});
    }
    g_list_free_full(all, g_object_unref);
    std::sort(applications.begin(), applications.end(),
              [](const auto& a, const auto& b) { return a.first.id < b.first.id; });
    return applications;
}

bool isAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The command of a desktop entry's Exec line, started without files: field codes dropped, "%%"
// read as "%".
QStringList execCommand(GDesktopAppInfo* info) {
    const QByteArray exec = keyString(info, "Exec").toUtf8();
    gint argc = 0;
    gchar** argv = nullptr;
    if (exec.isEmpty() || !g_shell_parse_argv(exec.constData(), &argc, &argv, nullptr))
        return {};
    QStringList command;
    for (gint i = 0; i < argc; ++i) {
        QString word = QString::fromUtf8(argv[i]);
        if (word.size() == 2 && word[0] == QLatin1Char('%') && word[1] != QLatin1Char('%'))
            continue;
        command.append(word.replace(QLatin1String("%%"), QLatin1String("%")));
    }
    g_strfreev(argv);
    return command;
}

} // namespace

QList<DesktopApplication> installedApplications() {
    QList<DesktopApplication> shown;
    for (const auto& [application, menu] : allApplications())
        if (menu)
            shown.append(application);
    return shown;
}

// "ImageMagick (color depth=q16)", "Python (v3.11)": the name without the qualifier in
// parentheses at its end, or "" when it has none.
QString unqualifiedName(const QString& name) {
    if (!name.endsWith(QLatin1Char(')')))
        return QString();
    const qsizetype open = name.lastIndexOf(QLatin1String(" ("));
    return open > 0 ? name.left(open).trimmed() : QString();
}

bool isApplicationName(const QString& name) {
    return !name.trimmed().isEmpty() && isAscii(name);
}

std::optional<DesktopApplication> applicationNamed(const QString& name) {
    if (!isApplicationName(name))
        return std::nullopt;
    const QList<DesktopApplication> applications = installedApplications();
    const auto first = [&](const auto& matches) -> std::optional<DesktopApplication> {
        for (const DesktopApplication& application : applications)
            if (matches(application))
                return application;
        return std::nullopt;
    };
    const auto same = [&name](const QString& other) {
        return !other.isEmpty() && isApplicationName(other) &&
               other.compare(name, Qt::CaseInsensitive) == 0;
    };
    if (auto application = first([&](const auto& a) { return same(a.name); }))
        return application;
    if (auto application = first([&](const auto& a) { return same(unqualifiedName(a.name)); }))
        return application;
    return first([&](const auto& a) { return same(a.program); });
}

std::optional<DesktopApplication> terminalApplicationFor(const QString& program) {
    const QString fileName = QFileInfo(program).fileName();
    if (fileName.isEmpty())
        return std::nullopt;
    for (const auto& [application, menu] : allApplications())
        if (application.terminal && application.program == fileName)
            return application;
    return std::nullopt;
}

QStringList terminalCommand(const QStringList& command) {
    if (command.isEmpty())
        return {};
    const QString exec = QStandardPaths::findExecutable(QStringLiteral("xdg-terminal-exec"));
    if (!exec.isEmpty())
        return QStringList{exec} + command;
    const QString emulator = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (!emulator.isEmpty())
        return QStringList{emulator, QStringLiteral("-e")} + command;
    return {};
}

QStringList applicationCommand(const DesktopApplication& application) {
    const QByteArray id = application.id.toUtf8();
    GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(id.constData()));
    return info ? execCommand(info.get()) : QStringList();
}

bool needsMissingTerminal(const QString& name) {
    if (!terminalCommand({name}).isEmpty())
        return false;
    if (const QString program = findProgram(name); !program.isEmpty())
        return terminalApplicationFor(program).has_value();
    const std::optional<DesktopApplication> application = applicationNamed(name);
    return application && application->terminal;
}

bool launchDesktopApplication(const DesktopApplication& application) {
    const QByteArray id = application.id.toUtf8();
    GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(id.constData()));
    if (!info)
        return false;
    GError* rawError = nullptr;
    const gboolean ok = g_app_info_launch_uris(G_APP_INFO(info.get()), nullptr, nullptr, &rawError);
    GErrorPtr error(rawError);
    return ok == TRUE;
}

} // namespace platform
