#pragma once

// What the line dispatcher needs of the rest of the program, as small interfaces free of Qt
// Widgets. The main window implements the input line, clipboard and window ports; the script
// evaluator, the memo pane and the history implement theirs. scrivlet-cli implements all of them
// without a window.

#include <QString>

#include <functional>

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

// The memo pane (ctlMemo).
class IMemoPane {
public:
    virtual ~IMemoPane() = default;
    // Appends a time-stamped entry to the current memo. False when it could not be stored (a
    // memo file that cannot be written); the window's pane always stores it.
    virtual bool AddMessage(const QString& text) = 0;
    // Moves the keyboard focus to the memo pane.
    virtual void focusMemoPane() = 0;
    // Whether the memo pane is the window's active control (Enter then belongs to it).
    virtual bool isActiveControl() const = 0;
};

// The history of entered lines (CMRUCombo around cmbMemo). Both take the input line's current
// text, since the dispatcher never passes an explicit one.
class IHistory {
public:
    virtual ~IHistory() = default;
    virtual void AddMRU(bool addFirst) = 0;     // a lasting entry
    virtual void AddMRUTemp(bool addFirst) = 0; // an entry of the drop-down list only
};

// A text control as SelectAllText sees it. The input line (cmbMemo) is one.
class ITextControl {
public:
    virtual ~ITextControl() = default;
    // "TextBox" or "ComboBox" for controls that hold editable text; anything else otherwise.
    virtual QString typeName() const = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setSelection(int start, int length) = 0;
};

// The system clipboard.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// The main window (frmMemo) as the dispatcher uses it.
class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual void HideForm() = 0;
    virtual void SetTopMost(bool on) = 0;
    // Title of the program's own message boxes ("Scrivlet Ver.1.73").
    virtual QString AppTitleWithVersion() const = 0;
};

// Everything one dispatcher talks to. Every pointer must be set; the dispatcher does not own them.
struct DispatcherPorts {
    IEvaluator* evaluator = nullptr;
    IMemoPane* memoPane = nullptr;
    IHistory* history = nullptr;
    ITextControl* inputLine = nullptr;
    IClipboard* clipboard = nullptr;
    IMainWindow* window = nullptr;
};

} // namespace engine
