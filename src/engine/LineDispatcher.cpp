#include "engine/LineDispatcher.h"

#include "config/Settings.h"
#include "engine/CommandExpander.h"
#include "engine/EnglishProse.h"
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
    const auto restore = qScopeGuard([&] { m_origin = outer; });
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
    // A word scripts know ("date", "true", a function of the user's script) is theirs: it never
    // starts a program of the same name found on PATH.
    const bool scriptWord =
        !piece.contains(QLatin1Char(' ')) && m_ports.evaluator->IsScriptWord(piece);
    if (!scriptWord) {
        // Quoted whole first, so a path with spaces opens without quotes.
        if (!piece.startsWith(QLatin1Char('"')) &&
            ExecuteShell(QLatin1Char('"') + piece + QLatin1Char('"'), QString()))
            return PieceOutcome::ShellExecuted;
        if (ExecuteShell(piece, QString()))
            return PieceOutcome::ShellExecuted;
    }

    if (IsMemoText(piece)) {
        // Prose may still parse ("東京-大阪", "予定=会議"): a name beyond ASCII that nothing
        // defines makes it prose rather than a calculation. English words are prose when they
        // use any name nothing defines ("it's raining" parses as "it" and a comment).
        const bool english = IsEnglishProse(piece);
        const bool unknownName = english ? m_ports.evaluator->UsesUnknownName(piece)
                                         : m_ports.evaluator->UsesUnknownNameBeyondAscii(piece);
        if (!unknownName && m_ports.evaluator->RunCode(piece, false))
            return PieceOutcome::Evaluated;
        return AddMemoText(piece) ? PieceOutcome::Memo : PieceOutcome::None;
    }
    return m_ports.evaluator->RunCode(piece, true) ? PieceOutcome::Evaluated : PieceOutcome::None;
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
    if (!m_options.ShowErrMsg)
        return;
    // The box must not hide behind a topmost window.
    const bool topMost = m_options.TopMost;
    if (topMost)
        m_ports.window->SetTopMost(false);
    platform::showMessageBox(QStringLiteral("Error Number %1:%2").arg(number).arg(description),
                             int(platform::mb::OKOnly) | int(platform::mb::Critical),
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
