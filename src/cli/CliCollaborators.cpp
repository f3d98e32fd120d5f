// The one place where scrivlet-cli chooses its collaborators.
//
// To plug in the script evaluator: construct it in makeCollaborators() with session.scriptFile,
// keep it in a member of ConsoleCollaborators and point `ports.evaluator` at it (it replaces
// NoScriptEngineEvaluator). To plug in the memo file: do the same with an appender on
// session.memoFile for `ports.memoPane` (it replaces NoMemoStore). Nothing else in the console
// companion needs to change.

#include "cli/CliCollaborators.h"

#include "cli/CliPorts.h"

namespace cli {

namespace {

class ConsoleCollaborators final : public CliCollaborators {
public:
    explicit ConsoleCollaborators(QTextStream& err) : memoStore(err) {
        ports.evaluator = &evaluator;
        ports.memoPane = &memoStore;
        ports.history = &history;
        ports.inputLine = &inputLine;
        ports.clipboard = &clipboard;
        ports.window = &window;
    }

    engine::NoScriptEngineEvaluator evaluator;
    NoMemoStore memoStore;
    NoHistory history;
    ConsoleInputLine inputLine;
    NoClipboard clipboard;
    ConsoleWindow window;
};

} // namespace

std::unique_ptr<CliCollaborators> makeCollaborators(const CliSession& session) {
    return std::make_unique<ConsoleCollaborators>(*session.err);
}

} // namespace cli
