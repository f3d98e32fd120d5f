// The one place where scrivlet-cli chooses its collaborators.

#include "cli/CliCollaborators.h"

#include "cli/CliPorts.h"
#include "cli/ConsoleMemoStore.h"
#include "platform/MessageBox.h"
#include "script/ClipboardAccess.h"
#include "script/ProgramEvaluator.h"
#include <QCoreApplication>

namespace cli {

namespace {

class ConsoleCollaborators final : public CliCollaborators {
public:
    explicit ConsoleCollaborators(const CliSession& session)
        : evaluator(script::createProgramEvaluator(session.scriptFile, scriptClipboard, nullptr,
                                                   session.scriptWatcher)),
          memoStore(session.memoFile, session.settingsFile, *session.err) {
        ports.evaluator = evaluator.get();
        memoStore.filer().setTargetTitle(session.memoTitle);
        ports.memos = &memoStore.filer();
        ports.history = &history;
        ports.clipboard = &clipboard;
        ports.window = &window;
        if (evaluator->AddCodeFile().isEmpty() && !session.scriptFile.isEmpty())
            platform::showMessageBox(
                QCoreApplication::translate("CliCollaborators",
                                            "Scrivlet.vbsファイルのロードに失敗しました。"),
                int(platform::mb::OKOnly) | int(platform::mb::Exclamation),
                window.AppTitleWithVersion());
    }

    int lostMemoLines() const override { return memoStore.lostLines(); }

    // Scripts get a clipboard of their own that lives as long as the run: the console has no
    // desktop clipboard to share, and must not need a display.
    script::MemoryClipboard scriptClipboard;
    std::unique_ptr<script::CEval> evaluator;
    ConsoleMemoStore memoStore;
    NoHistory history;
    NoClipboard clipboard;
    ConsoleWindow window;
};

} // namespace

std::unique_ptr<CliCollaborators> makeCollaborators(const CliSession& session) {
    return std::make_unique<ConsoleCollaborators>(session);
}

} // namespace cli
