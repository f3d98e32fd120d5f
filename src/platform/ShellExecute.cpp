#include "platform/ShellExecute.h"
#include "platform/Log.h"

#include "platform/DesktopApplications.h"
#include "platform/GioHandles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {

// A resolved request: what it starts and how.
struct Launch {
    QString description;
    std::function<bool()> start;
};

QString appId(GAppInfo* app) {
    const char* id = g_app_info_get_id(app);
    return QString::fromUtf8(id ? id : g_app_info_get_name(app));
}

std::optional<Launch> launchApplication(GObjectPtr<GAppInfo> app, const QString& uri) {
    if (!app)
        return std::nullopt;
    Launch launch;
    launch.description = QStringLiteral("application %1").arg(appId(app.get()));
    auto shared = std::shared_ptr<GAppInfo>(app.release(), GObjectUnref());
    launch.start = [shared, uri]() {
        const QByteArray uriBytes = uri.toUtf8();
        GList* uris = uri.isEmpty()
                          ? nullptr
                          : g_list_append(nullptr, const_cast<char*>(uriBytes.constData()));
        GError* rawError = nullptr;
        const gboolean ok = g_app_info_launch_uris(shared.get(), uris, nullptr, &rawError);
        GErrorPtr error(rawError);
        g_list_free(uris);
        return ok == TRUE;
    };
    return launch;
}

std::optional<Launch> launchAction(GObjectPtr<GAppInfo> app, const QString& action) {
    if (!app || !G_IS_DESKTOP_APP_INFO(app.get()))
        return std::nullopt;
    const QByteArray actionBytes = action.toUtf8();
    if (!g_desktop_app_info_has_key(G_DESKTOP_APP_INFO(app.get()), "Actions"))
        return std::nullopt;
    bool found = false;
    const gchar* const* actions = g_desktop_app_info_list_actions(G_DESKTOP_APP_INFO(app.get()));
    for (; actions && *actions; ++actions)
        found = found || action == QString::fromUtf8(*actions);
    if (!found)
        return std::nullopt;
    Launch launch;
    launch.description = QStringLiteral("action %1 of %2").arg(action, appId(app.get()));
    auto shared = std::shared_ptr<GAppInfo>(app.release(), GObjectUnref());
    launch.start = [shared, actionBytes]() {
        // Desktop actions take no files; starting one counts as started.
        g_desktop_app_info_launch_action(G_DESKTOP_APP_INFO(shared.get()), actionBytes.constData(),
                                         nullptr);
        return true;
    };
    return launch;
}

Launch startDetached(const QStringList& command, const QString& description) {
    Launch launch;
    launch.description = description;
    launch.start = [command]() {
        // Started on its own: no terminal input to wait for, and no output that anyone who
        // started us (scrivlet-cli in a pipe) would wait on.
        QProcess process;
        process.setProgram(command.first());
        process.setArguments(command.mid(1));
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        return process.startDetached();
    };
    return launch;
}

Launch launchProgram(const QString& program, const QString& parameters) {
    const QStringList command = QStringList{program} + splitParameters(parameters);
    return startDetached(command, QStringLiteral("program ") + command.join(QLatin1Char(' ')));
}

Launch launchInTerminal(const QStringList& command) {
    const QStringList terminal = terminalCommand(command);
    return startDetached(terminal, QStringLiteral("terminal ") + terminal.join(QLatin1Char(' ')));
}

// A program from PATH: in the user's terminal when its desktop entry asks for one (vim, htop),
// since started without one it would end at once while the window hides as if all went well.
std::optional<Launch> launchFromPath(const QString& program, const QString& parameters) {
    if (!terminalApplicationFor(program))
        return launchProgram(program, parameters);
    const QStringList command = QStringList{program} + splitParameters(parameters);
    if (terminalCommand(command).isEmpty())
        return std::nullopt; // no terminal to run it in
    return launchInTerminal(command);
}

std::optional<Launch> launchNamedApplication(const QString& name) {
    const std::optional<DesktopApplication> application = applicationNamed(name);
    if (!application)
        return std::nullopt;
    if (application->terminal) {
        const QStringList command = applicationCommand(*application);
        if (terminalCommand(command).isEmpty())
            return std::nullopt;
        return launchInTerminal(command);
    }
    Launch launch;
    launch.description = QStringLiteral("application %1").arg(application->id);
    launch.start = [application] { return launchDesktopApplication(*application); };
    return launch;
}

QString contentTypeOf(const QString& path) {
    const QByteArray pathBytes = QFile::encodeName(path);
    GObjectPtr<GFile> file(g_file_new_for_path(pathBytes.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return QString();
    const char* type = g_file_info_get_content_type(info.get());
    return type ? QString::fromUtf8(type) : QString();
}

GObjectPtr<GAppInfo> defaultApplicationFor(const QString& contentType) {
    const QByteArray type = contentType.toUtf8();
    return GObjectPtr<GAppInfo>(g_app_info_get_default_for_type(type.constData(), FALSE));
}

bool isTextType(const QString& contentType) {
    const QByteArray type = contentType.toUtf8();
    return g_content_type_is_a(type.constData(), "text/plain") ||
           contentType.startsWith(QLatin1String("text/"));
}

// A file starts as a program only when it really is one: an ELF executable, or a "#!" script
// whose interpreter runs scripts. The execute bit alone proves nothing: documents on NTFS, exFAT
// and SMB mounts and from unpacked archives carry it too.
bool runsByItself(const QFileInfo& info) {
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(256);
    if (head.startsWith("\x7F"
                        "ELF"))
        return true;
    if (!head.startsWith("#!"))
        return false;
    const QByteArray line = head.mid(2, head.indexOf('\n') < 0 ? -1 : head.indexOf('\n') - 2);
    const QList<QByteArray> words = line.simplified().split(' ');
    QByteArray interpreter = QFileInfo(QString::fromLocal8Bit(words.value(0))).fileName().toUtf8();
    if (interpreter == "env")
        interpreter = words.value(1) == "-S" ? words.value(2) : words.value(1);
    static const QByteArrayList kScriptInterpreters = {
        "sh",     "bash", "dash", "zsh", "ksh",     "mksh",   "fish", "csh",       "tcsh",
        "python", "perl", "ruby", "php", "node",    "nodejs", "lua",  "tclsh",     "wish",
        "awk",    "gawk", "mawk", "sed", "Rscript", "julia",  "pwsh", "osascript", "expect"};
    for (const QByteArray& name : kScriptInterpreters) {
        if (interpreter == name)
            return true;
        // python3, python3.11, perl5.36, lua5.4, ruby3.1 …
        if (interpreter.startsWith(name) &&
            QByteArray("0123456789.").contains(interpreter.at(name.size())))
            return true;
    }
    return false;
}

std::optional<Launch> resolveExisting(const QString& verb, const QString& path,
                                      const QString& parameters) {
    const QFileInfo info(path);
    const QString contentType =
        info.isDir() ? QStringLiteral("inode/directory") : contentTypeOf(info.absoluteFilePath());
    if (contentType.isEmpty())
        return std::nullopt;
    const QString uri = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded);
    const bool open =
        verb.isEmpty() || verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0;
    if (open) {
        if (runsByItself(info))
            return launchProgram(info.absoluteFilePath(), parameters);
        return launchApplication(defaultApplicationFor(contentType), uri);
    }
    if (verb.compare(QLatin1String("edit"), Qt::CaseInsensitive) == 0 && isTextType(contentType))
        return launchApplication(defaultApplicationFor(QStringLiteral("text/plain")), uri);
    return launchAction(defaultApplicationFor(contentType), verb);
}

std::optional<Launch> resolveUrl(const QString& verb, const QString& url) {
    const bool open =
        verb.isEmpty() || verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0;
    const QUrl parsed(url);
    if (!parsed.isValid())
        return std::nullopt;
    if (parsed.isLocalFile()) {
        const QString path = parsed.toLocalFile();
        if (!QFileInfo::exists(path))
            return std::nullopt;
        return resolveExisting(verb, path, QString());
    }
    if (!open)
        return std::nullopt;
    const QByteArray scheme = parsed.scheme().toLower().toUtf8();
    return launchApplication(
        GObjectPtr<GAppInfo>(g_app_info_get_default_for_uri_scheme(scheme.constData())), url);
}

// The Windows text editor stands for this desktop's: the default application for plain text.
bool isNotepad(const QString& file) {
    return file.compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) == 0 ||
           file.compare(QLatin1String("notepad"), Qt::CaseInsensitive) == 0;
}

std::optional<Launch> resolveTextEditor(const QString& parameters) {
    const QStringList words = splitParameters(parameters);
    if (words.size() > 1)
        return std::nullopt;
    GObjectPtr<GAppInfo> editor = defaultApplicationFor(QStringLiteral("text/plain"));
    if (words.isEmpty())
        return editor ? std::optional<Launch>(launchApplication(std::move(editor), {}))
                      : std::nullopt;
    const QString path = expandHome(words.first());
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return launchApplication(
        std::move(editor),
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

std::optional<Launch> resolve(const ShellRequest& request) {
    const QString file = expandHome(request.file);
    if (file.isEmpty())
        return std::nullopt;
    if (hasUrlScheme(file))
        return resolveUrl(request.verb, file);
    if (QFileInfo::exists(file))
        return resolveExisting(request.verb, file, request.parameters);
    if (const QString link = webAddressLink(file); !link.isEmpty())
        return resolveUrl(request.verb, link);
    if (file.contains(QLatin1Char('/')))
        return std::nullopt;
    const bool open = request.verb.isEmpty() ||
                      request.verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0;
    if (!open)
        return std::nullopt;
    const QString program = findProgram(file);
    if (!program.isEmpty())
        return launchFromPath(program, request.parameters);
    if (isNotepad(file))
        return resolveTextEditor(request.parameters);
    // What the menu shows: "Files", "ImageMagick", exactly as named there.
    if (request.parameters.trimmed().isEmpty())
        return launchNamedApplication(file);
    return std::nullopt;
}

ShellHandler& shellHandler() {
    static ShellHandler handler;
    return handler;
}

OpenWithHandler& openWithHandler() {
    static OpenWithHandler handler;
    return handler;
}

} // namespace

std::optional<QString> describeShellExecute(const ShellRequest& request) {
    std::optional<Launch> launch = resolve(request);
    if (!launch)
        return std::nullopt;
    return launch->description;
}

bool shellExecute(const QString& verb, const QString& file, const QString& parameters) {
    const ShellRequest request{verb, file, parameters};
    if (shellHandler())
        return shellHandler()(request);
    std::optional<Launch> launch = resolve(request);
    const bool started = launch && launch->start();
    if (!started)
        qCInfo(lcShell).noquote() << "nothing opened:" << verb << file << parameters;
    return started;
}

ShellHandler setShellHandler(ShellHandler handler) {
    ShellHandler old = std::move(shellHandler());
    shellHandler() = std::move(handler);
    return old;
}

OpenWithResult offerOpenWith(const QString& file) {
    if (!openWithHandler())
        return OpenWithResult::Unavailable;
    return openWithHandler()(expandHome(file));
}

OpenWithHandler setOpenWithHandler(OpenWithHandler handler) {
    OpenWithHandler old = std::move(openWithHandler());
    openWithHandler() = std::move(handler);
    return old;
}

QStringList splitParameters(const QString& text) {
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(QLatin1Char('"'), i + 1);
            if (close > i) {
                word += text.mid(i + 1, close - i - 1);
                inWord = true;
                i = close;
                continue;
            }
            // An unclosed quote is a plain character, as the user typed it.
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    if (inWord)
        words.append(word);
    return words;
}

QString findProgram(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return QString();
    return QStandardPaths::findExecutable(name);
}

QString expandHome(const QString& file) {
    if (file == QLatin1String("~"))
        return QDir::homePath();
    if (file.startsWith(QLatin1String("~/")))
        return QDir::homePath() + file.mid(1);
    return file;
}

QString webAddressLink(const QString& text) {
    // "www." and a host name after it, in one word: not "www." alone, nor a sentence.
    if (text.size() <= 4 || !text.startsWith(QLatin1String("www."), Qt::CaseInsensitive) ||
        text.contains(QLatin1Char(' ')))
        return QString();
    return QStringLiteral("https://") + text;
}

bool hasUrlScheme(const QString& text) {
    // scheme = letter *( letter / digit / "+" / "-" / "." ), at least two characters, so that
    // a drive-like "C:" never counts.
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = text.at(i);
        const bool letter = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                            (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        const bool other = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
        if (!(letter || (i > 0 && other)))
            return false;
    }
    return colon + 1 < text.size();
}

} // namespace platform
