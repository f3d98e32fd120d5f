#pragma once

// What the line dispatcher needs of the rest of the program, as small interfaces free of Qt
// Widgets. The main window implements the window, history and clipboard ports; the script
// evaluator its own; prose is filed by the memo filer. scrivlet-cli implements all of them
// without a window.

#include <QString>

#include <functional>

namespace memo {
class MemoFiler;
}

namespace engine {

// The script evaluator as the dispatcher and parameter substitution use it.
class IEvaluator {
public:
    // Receives the evaluator's Error event (number, description). The dispatcher installs its
    // pEval_Error here; the evaluator calls it synchronously from RunCode when isRaiseError is true
    // and the engine reported an error.
    using ErrorHandler = std::function<void(long number, const QString& description)>;

    virtual ~IEvaluator() = default;

    // Runs one expression or statement; false when it failed or yielded nothing useful.
    virtual bool RunCode(const QString& code, bool isRaiseError) = 0;
    // Text of the value of the last evaluated expression.
    virtual QString Result() const = 0;
    // Replaces the Error event's handler (an empty handler drops the events).
    virtual void setErrorHandler(ErrorHandler handler) = 0;
    // Whether scripts know this word: a keyword, built-in function or constant of the language,
    // a host object, or something the user's script defines. Such a word is evaluated, never
    // looked up as a program.
    virtual bool IsScriptWord(const QString& word) const {
        (void)word;
        return false;
    }
    // Whether the code uses a name with characters beyond ASCII that neither the language nor
    // the user's script defines ("東京-大阪"): typed at the input line, that is prose.
    virtual bool UsesUnknownNameBeyondAscii(const QString& code) const {
        (void)code;
        return false;
    }
    // Whether the code is a calculation: numbers joined by operators and calls of the language's
    // built-in functions, nothing else ("1+2*3", "Sqr(2)/2").
    virtual bool IsCalculation(const QString& code) const {
        (void)code;
        return false;
    }
    // Whether the code, read as script, is a comment with nothing or one word alone before it:
    // "Don't forget the dentist" is the word Don and a comment, and would evaluate to nothing.
    virtual bool IsWordBeforeComment(const QString& code) const {
        (void)code;
        return false;
    }
};

// The evaluator of a program without a script engine: nothing runs, no Error event is raised.
class NoScriptEngineEvaluator final : public IEvaluator {
public:
    bool RunCode(const QString&, bool) override { return false; }
    QString Result() const override { return QString(); }
    void setErrorHandler(ErrorHandler handler) override { m_handler = std::move(handler); }

private:
    ErrorHandler m_handler; // kept for symmetry; never called
};

// The history of entered lines (CMRUCombo around cmbMemo), given the line that ran.
class IHistory {
public:
    virtual ~IHistory() = default;
    virtual void AddMRU(const QString& line, bool addFirst) = 0;     // a lasting entry
    virtual void AddMRUTemp(const QString& line, bool addFirst) = 0; // the drop-down list only
};

// The system clipboard.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// What the dispatcher tells the main window (frmMemo), and the one thing it asks of it.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    // Writes a line's results into the input line and selects them, so typing replaces them.
    virtual void showResult(const QString& text) = 0;
    // A prose line was filed: the keyboard focus goes to the memo pane, which shows it.
    virtual void focusMemoPane() = 0;
    virtual void HideForm() = 0;
    virtual void SetTopMost(bool on) = 0;
    // Title of the program's own message boxes ("Scrivlet Ver.1.73").
    virtual QString AppTitleWithVersion() const = 0;
};

// Everything one dispatcher talks to. Every pointer must be set; the dispatcher does not own them.
struct DispatcherPorts {
    IEvaluator* evaluator = nullptr;
    memo::MemoFiler* memos = nullptr;
    IHistory* history = nullptr;
    IClipboard* clipboard = nullptr;
    IMainWindow* window = nullptr;
};

} // namespace engine
