#include "engine/LineDispatcher.h"

#include "config/Settings.h"
#include "engine/CommandExpander.h"
#include "engine/EnglishProse.h"
#include "engine/FullWidth.h"
#include "engine/LaunchTarget.h"
#include "engine/ShellExecution.h"
#include "engine/TextChecks.h"
#include "engine/TextTrim.h"
#include "memo/MemoFiler.h"
#include "platform/MessageBox.h"
#include "platform/UiLanguage.h"

#include <QScopeGuard>

#include <utility>

namespace engine {

namespace {

const QString kSeparator = QStringLiteral(" |");

bool isPlainAsciiWordChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
}

} // namespace

bool LineRun::anyRan() const {
    for (const PieceOutcome outcome : outcomes) {
        if (outcome != PieceOutcome::None)
            return true;
    }
    return false;
}

LineDispatcher::LineDispatcher(const DispatcherPorts& ports, config::CIniFile* ini,
                               const config::Options& options)
    : m_ports(ports), m_ini(ini), m_options(options) {
    m_ports.evaluator->setErrorHandler(
        [this](long number, const QString& description) { pEval_Error(number, description); });
}

LineDispatcher::~LineDispatcher() {
    m_ports.evaluator->setErrorHandler({});
}

LineRun LineDispatcher::ExecuteLine(const QString& line, LineOrigin origin) {
    // A typed line may be waiting below a timer's (a box of it ran the event loop).
    const LineOrigin outer = std::exchange(m_origin, origin);
    std::optional<ScriptError>* const outerHeld = std::exchange(m_heldError, nullptr);
    const auto restore = qScopeGuard([&] {
        m_origin = outer;
        m_heldError = outerHeld;
    });
    LineRun run;
    if (trimSpaces(line).isEmpty())
        return run;

    CommandExpander expander(m_ini, m_ports.evaluator);
    const QStringList pieces = expander.SplitCommandLine(line, CommandSource::IniCommands);

    QString resultText;
    for (const QString& piece : pieces) {
        const PieceOutcome outcome = ExecutePiece(piece);
        run.outcomes.append(outcome);
        switch (outcome) {
        case PieceOutcome::Evaluated: {
            const QString result = m_ports.evaluator->Result();
            if (!result.isEmpty() || !m_options.IfVoidThenHide) {
                resultText += result + kSeparator;
            } else {
                run.hidden = true;
            }
            if (run.historyKind == 0)
                run.historyKind = 2;
            break;
        }
        case PieceOutcome::ShellExecuted:
            if (m_options.HideAfterRun)
                run.hidden = true;
            run.historyKind = 1;
            break;
        case PieceOutcome::Memo:
        case PieceOutcome::None:
            break;
        }
    }

    const bool typed = origin == LineOrigin::Typed;
    if (typed && run.historyKind == 1)
        m_ports.history->AddMRU(line, true);
    else if (typed && run.historyKind == 2)
        m_ports.history->AddMRUTemp(line, true);

    if (!resultText.isEmpty()) {
        resultText.truncate(resultText.lastIndexOf(kSeparator));
        run.wroteBack = typed;
        run.writeBack = resultText;
        if (typed)
            m_ports.window->showResult(resultText);
        if (typed && m_options.SetClipboard)
            m_ports.clipboard->setText(resultText);
    }

    // A timer's line goes off while the user may be typing: its result goes nowhere, and it
    // neither hides the window nor takes the focus.
    run.hidden = run.hidden && typed;
    if (run.hidden)
        m_ports.window->HideForm();
    return run;
}

PieceOutcome LineDispatcher::ExecutePiece(const QString& piece) {
    IEvaluator& evaluator = *m_ports.evaluator;
    // A calculation typed in the input method's full-width mode is one in its half-width form.
    if (const std::optional<QString> half = halfWidthForm(piece);
        half && evaluator.IsCalculation(*half))
        return evaluator.RunCode(*half, true) ? PieceOutcome::Evaluated : PieceOutcome::None;

    // A word scripts know ("date", "true", a function of the user's script) is theirs: it never
    // starts a program of the same name found on PATH.
    const bool scriptWord = !piece.contains(QLatin1Char(' ')) && evaluator.IsScriptWord(piece);
    if (!scriptWord) {
        // Quoted whole first, so a path with spaces opens without quotes. A chooser the user
        // cancelled ends the piece: nothing opened, nothing to say, the window stays.
        bool declined = false;
        if (!piece.startsWith(QLatin1Char('"')) &&
            ExecuteShell(QLatin1Char('"') + piece + QLatin1Char('"'), QString(), &declined))
            return PieceOutcome::ShellExecuted;
        if (declined)
            return PieceOutcome::None;
        if (ExecuteShell(piece, QString(), &declined))
            return PieceOutcome::ShellExecuted;
        if (declined)
            return PieceOutcome::None;
    }

    // A path or a link that did not open is no script: say why in the user's words.
    const LaunchTarget target = LaunchTarget::of(piece);
    if (target.kind() == LaunchTarget::Kind::Path || target.kind() == LaunchTarget::Kind::Link) {
        showError(target.failureText(), platform::mb::Exclamation);
        return PieceOutcome::None;
    }
    // "vim" or "htop" with no terminal to run in: installed, but started without one it would end
    // at once, so it was not started.
    if (!scriptWord && target.needsMissingTerminal()) {
        showError(target.failureText(), platform::mb::Exclamation);
        return PieceOutcome::None;
    }

    // "Don't forget the dentist" reads as the word Don and a comment: as script it would
    // evaluate to nothing and the line would vanish.
    if (evaluator.IsWordBeforeComment(piece))
        return AddMemoText(piece) ? PieceOutcome::Memo : PieceOutcome::None;

    if (IsMemoText(piece)) {
        // Prose may still parse ("東京-大阪", "予定=会議"): a name beyond ASCII that nothing
        // defines makes it prose rather than a calculation. English words are prose when they
        // use any name nothing defines ("it's raining" parses as "it" and a comment).
        const bool english = IsEnglishProse(piece);
        const bool unknownName = english ? evaluator.UsesUnknownName(piece)
                                         : evaluator.UsesUnknownNameBeyondAscii(piece);
        if (!unknownName && evaluator.RunCode(piece, false))
            return PieceOutcome::Evaluated;
        return AddMemoText(piece) ? PieceOutcome::Memo : PieceOutcome::None;
    }

    std::optional<ScriptError> error;
    if (runHoldingError(piece, error))
        return PieceOutcome::Evaluated;
    // "gedit" or "firefox https://…" when no such program is installed: the script's own
    // complaint (a syntax error, or nothing for a bare word) would not tell the user that.
    if (target.kind() == LaunchTarget::Kind::Program && !evaluator.IsScriptWord(target.name()) &&
        !target.isInstalledProgram())
        showError(target.failureText(), platform::mb::Exclamation);
    else if (error)
        pEval_Error(error->number, error->description);
    return PieceOutcome::None;
}

bool LineDispatcher::runHoldingError(const QString& piece, std::optional<ScriptError>& error) {
    std::optional<ScriptError>* const outer = std::exchange(m_heldError, &error);
    const auto restore = qScopeGuard([&] { m_heldError = outer; });
    return m_ports.evaluator->RunCode(piece, true);
}

bool LineDispatcher::AddMemoText(const QString& text) {
    if (text.isEmpty())
        return false;
    if (!m_ports.memos->fileLine(text))
        return false;
    if (m_origin == LineOrigin::Typed)
        m_ports.window->focusMemoPane();
    return true;
}

void LineDispatcher::pEval_Error(long number, const QString& description) {
    if (m_heldError) {
        if (!*m_heldError)
            *m_heldError = ScriptError{number, description};
        return;
    }
    showError(QStringLiteral("Error Number %1:%2").arg(number).arg(description),
              platform::mb::Critical);
}

void LineDispatcher::showError(const QString& text, int icon) {
    if (!m_options.ShowErrMsg)
        return;
    // The box must not hide behind a topmost window.
    const bool topMost = m_options.TopMost;
    if (topMost)
        m_ports.window->SetTopMost(false);
    platform::showMessageBox(text, int(platform::mb::OKOnly) | icon,
                             m_ports.window->AppTitleWithVersion());
    if (topMost)
        m_ports.window->SetTopMost(true);
}

bool IsMemoText(const QString& text) {
    // Text beyond ASCII, not text beyond single bytes of the Japanese code page: half-width
    // katakana and accented Latin are prose too.
    bool beyondAscii = false;
    for (const QChar c : text)
        beyondAscii = beyondAscii || c.unicode() >= 0x80;
    if (!beyondAscii)
        return platform::uiLanguage() != platform::UiLanguage::Japanese && IsEnglishProse(text);
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    const QString firstWord = space < 0 ? text : text.left(space);
    for (const QChar c : firstWord) {
        if (!isPlainAsciiWordChar(c))
            return true;
    }
    return false;
}

} // namespace engine
