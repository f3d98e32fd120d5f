#include "cli/CliRun.h"

#include "app/VersionText.h"
#include "cli/CliCollaborators.h"
#include "cli/CliCommandLine.h"
#include "cli/ScriptTimeLimit.h"
#include "cli/TextStreamBuffer.h"
#include "config/CIniFile.h"
#include "engine/LineDispatcher.h"
#include "memo/MemoFile.h"
#include "memo/MemoFinder.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/ShellExecute.h"
#include "script/ClipboardAccess.h"
#include "script/ConsoleHostServices.h"
#include "script/ConsoleScriptHost.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

namespace {

// The window's base name: both programs share one set of files.
const QString kWindowBaseName = QStringLiteral("scrivlet");

// Swaps the process-wide handlers for one run and puts the old ones back.
class HandlerScope {
public:
    HandlerScope(platform::ShellHandler shell, platform::OpenWithHandler openWith,
                 platform::MessageBoxHandler box)
        : m_shell(platform::setShellHandler(std::move(shell))),
          m_openWith(platform::setOpenWithHandler(std::move(openWith))),
          m_box(platform::setMessageBoxHandler(std::move(box))) {}
    ~HandlerScope() {
        platform::setShellHandler(std::move(m_shell));
        platform::setOpenWithHandler(std::move(m_openWith));
        platform::setMessageBoxHandler(std::move(m_box));
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    platform::ShellHandler m_shell;
    platform::OpenWithHandler m_openWith;
    platform::MessageBoxHandler m_box;
};

platform::ShellHandler dryRunShell(QTextStream& out) {
    return [&out](const platform::ShellRequest& request) {
        const std::optional<QString> what = platform::describeShellExecute(request);
        out << request.verb << '\t' << request.file << '\t' << request.parameters << '\t'
            << (what ? QStringLiteral("start ") + *what : QStringLiteral("refused")) << Qt::endl;
        return what.has_value();
    };
}

int runLine(const CliCommandLine& commandLine, QTextStream& out, QTextStream& err,
            std::istream& in) {
    // A script's own MsgBox is a box like the evaluator's errors: on standard error.
    TextStreamOStream boxes(err);
    script::ConsoleHostServices hostServices(in, boxes);
    const script::ScopedHostServices installed(&hostServices);

    // The settings are read, never saved: repairs happen in memory only. Only the sections a line
    // run reads are loaded, so a settings file grown large elsewhere costs nothing here.
    config::CIniFile ini;
    ini.LoadSectionsForReading(platform::settingsFilePath(),
                               {QStringLiteral("Options"), QStringLiteral("Command")});
    CliSession session;
    session.settingsFile = platform::settingsFilePath();
    session.scriptFile = platform::userScriptFilePath();
    session.options = config::readOptions(ini);
    session.memoFile = platform::memoFilePath(session.options.MemoFileName);
    session.memoTitle = commandLine.memoTitle;
    session.err = &err;
    ScriptTimeLimit timeLimit(commandLine.timeLimit);
    session.scriptWatcher = &timeLimit;

    const std::unique_ptr<CliCollaborators> collaborators = makeCollaborators(session);

    engine::LineDispatcher dispatcher(collaborators->ports, &ini, session.options);
    const engine::LineRun run = dispatcher.ExecuteLine(commandLine.line);
    if (run.wroteBack)
        out << run.writeBack << Qt::endl;
    if (!timeLimit.stopReason().isEmpty())
        err << "scrivlet-cli: " << timeLimit.stopReason() << Qt::endl;
    if (collaborators->lostMemoLines() > 0)
        return MemoNotFiled;
    if (!timeLimit.stopReason().isEmpty())
        return ScriptStopped;
    return run.anyRan() ? PieceRan : NothingRan;
}

// Prints "title<TAB>line" for every memo line that holds the text, newest first, as the find view
// lists them. Exit status as grep's: 0 found, 1 nothing found, 2 trouble.
int runFind(const CliCommandLine& commandLine, QTextStream& out, QTextStream& err) {
    config::CIniFile ini;
    ini.LoadSectionsForReading(platform::settingsFilePath(), {QStringLiteral("Options")});
    const QString memoFile = platform::memoFilePath(config::readOptions(ini).MemoFileName);
    memo::MemoFileContent content = memo::ReadMemoFile(memoFile);
    if (!content.ok()) {
        err << "scrivlet-cli: cannot read the memo file " << memoFile << ": error "
            << content.error->number << ": " << content.error->description << Qt::endl;
        return UsageError;
    }
    memo::MemoFinder finder(std::move(content.memos));
    const QList<memo::FindHit> hits = finder.find(commandLine.findText);
    for (const memo::FindHit& hit : hits)
        out << finder.title(hit.memo) << '\t' << finder.lineText(hit) << '\n';
    out.flush();
    return hits.isEmpty() ? NothingRan : PieceRan;
}

int runScriptFile(const CliCommandLine& commandLine, QTextStream& out, QTextStream& err,
                  std::istream& in) {
    TextStreamOStream scriptOut(out);
    TextStreamOStream scriptErr(err);
    script::MemoryClipboard clipboard;
    script::ConsoleScriptHost host(scriptOut, scriptErr, in);
    host.setClipboard(&clipboard);
    const int code = host.run(commandLine.scriptFile, commandLine.scriptArguments);
    scriptOut.flush();
    scriptErr.flush();
    return code;
}

} // namespace

int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err, std::istream& in) {
    const CliCommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.action) {
    case CliCommandLine::Action::Help:
        out << usageText();
        out.flush();
        return PieceRan;
    case CliCommandLine::Action::Version:
        out << app::VersionReport(QStringLiteral("scrivlet-cli"));
        out.flush();
        return PieceRan;
    case CliCommandLine::Action::UsageError:
        err << "scrivlet-cli: " << commandLine.error << "\n\n" << usageText();
        err.flush();
        return UsageError;
    case CliCommandLine::Action::Run:
    case CliCommandLine::Action::RunScript:
    case CliCommandLine::Action::Find:
        break;
    }

    if (!commandLine.folder.isEmpty() && !QFileInfo(commandLine.folder).isDir()) {
        err << "scrivlet-cli: no such folder: " << commandLine.folder << Qt::endl;
        return UsageError;
    }
    platform::setProgramIdentity(commandLine.folder, kWindowBaseName);

    HandlerScope handlers(
        commandLine.dryRun ? dryRunShell(out) : platform::ShellHandler(),
        [&out, &commandLine](const QString& file) {
            if (commandLine.dryRun)
                out << "openwith\t" << file << Qt::endl;
            return platform::OpenWithResult::Unavailable;
        },
        [&out, &err](const platform::MessageBoxRequest& box) {
            out.flush(); // keep results and messages in the order they happened
            err << box.text << Qt::endl;
            return platform::defaultAnswer(box.style);
        });

    int code = 0;
    switch (commandLine.action) {
    case CliCommandLine::Action::RunScript:
        code = runScriptFile(commandLine, out, err, in);
        break;
    case CliCommandLine::Action::Find:
        code = runFind(commandLine, out, err);
        break;
    default:
        code = runLine(commandLine, out, err, in);
        break;
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace cli
