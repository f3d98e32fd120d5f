#include "cli/CliRun.h"

#include "app/VersionText.h"
#include "cli/CliCollaborators.h"
#include "cli/CliCommandLine.h"
#include "cli/ScriptTimeLimit.h"
#include "cli/TextStreamBuffer.h"
#include "config/CIniFile.h"
#include "engine/LineDispatcher.h"
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

    const int code = commandLine.action == CliCommandLine::Action::RunScript
                         ? runScriptFile(commandLine, out, err, in)
                         : runLine(commandLine, out, err, in);
    out.flush();
    err.flush();
    return code;
}

} // namespace cli
