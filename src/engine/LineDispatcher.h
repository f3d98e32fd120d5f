#pragma once

#include "engine/CommandSource.h"
#include "engine/DispatcherPorts.h"

#include <QList>
#include <QString>

#include <optional>

namespace config {
class CIniFile;
}
namespace config {
struct Options;
}

namespace engine {

// Outcome of running one piece of a line.
enum class PieceOutcome { None = 0, Evaluated = 1, ShellExecuted = 2, Memo = 3 };

// Where a line comes from. A typed line is the input line's: its results are written back there
// (and to the clipboard when asked), it enters the history, and the window may hide. A timer's
// line touches none of these, nor the focus.
enum class LineOrigin { Typed, Timer };

// What one run of a line did, for callers that want to know (scrivlet-cli, tests).
struct LineRun {
    QList<PieceOutcome> outcomes;
    bool wroteBack = false; // the input line was set to writeBack
    QString writeBack;
    int historyKind = 0; // 1 lasting history entry, 2 drop-down only, 0 none
    bool hidden = false;
    // A piece was opened, evaluated or filed as a memo.
    bool anyRan() const;
};

// Runs input lines: splitting and expansion, then for each piece the shell, the evaluator and the
// memo pane, and what is written back. Keeps no state between lines.
class LineDispatcher {
public:
    // `ini` may be null (no registered commands); `options` is read at every run, so changes made
    // by the settings dialog apply to the next line. Installs pEval_Error on the evaluator.
    LineDispatcher(const DispatcherPorts& ports, config::CIniFile* ini,
                   const config::Options& options);
    ~LineDispatcher();
    LineDispatcher(const LineDispatcher&) = delete;
    LineDispatcher& operator=(const LineDispatcher&) = delete;

    LineRun ExecuteLine(const QString& line, LineOrigin origin = LineOrigin::Typed);
    PieceOutcome ExecutePiece(const QString& piece);
    // False when there was nothing to add or the memo could not be stored.
    bool AddMemoText(const QString& text);
    void pEval_Error(long number, const QString& description);

private:
    struct ScriptError {
        long number = 0;
        QString description;
    };
    // Runs the piece as script; its error is handed back instead of shown.
    bool runHoldingError(const QString& piece, std::optional<ScriptError>& error);
    // A box when error messages are on, never hidden behind a topmost window.
    void showError(const QString& text, int icon);

    DispatcherPorts m_ports;
    config::CIniFile* m_ini;
    const config::Options& m_options;
    LineOrigin m_origin = LineOrigin::Typed;
    std::optional<ScriptError>* m_heldError = nullptr;
};

// The prose test: true for text holding characters beyond ASCII whose first word is not a plain
// ASCII identifier.
bool IsMemoText(const QString& text);

} // namespace engine
