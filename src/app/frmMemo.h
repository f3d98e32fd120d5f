#pragma once

#include "WindowPlacement.h"
#include "config/Settings.h"

#include "memo/MemoFile.h"
#include "memo/MemoFiler.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QMenu;
class QAction;
class QMimeData;
class QKeyEvent;
class CHotKey;
namespace input {
class CKeyMapping;
}
class CTray;
namespace input {
class CMRUCombo;
}
namespace config {
class CIniFile;
}
class CPrevInstance;
class TitleStrip;
namespace memo {
class uMultiMemo;
}

namespace engine {
class IEvaluator;
class LineDispatcher;
} // namespace engine

// The program's one permanent window: a captionless bar with the title strip on the left, the
// input line cmbMemo, and the memo pane ctlMemo below it, which can be collapsed away.
class frmMemo : public QWidget, public app::IPlacedWindow {
    Q_OBJECT

public:
    explicit frmMemo(QWidget* parent = nullptr);
    ~frmMemo() override;

    // Full start-up of a first instance; `arguments` are the command-line words after the
    // program name.
    void Initialize(const QStringList& arguments);
    // Saves the history and the key bindings (when settings were loaded) and releases everything.
    // Runs once; later calls do nothing.
    void Unload();
    bool isUnloaded() const { return m_unloaded; }

    // The single-instance guard (pPI); the window owns it and shows itself when a later start
    // asks.
    void setPrevInstance(CPrevInstance* guard);
    CPrevInstance* prevInstance() const { return m_pPI; }

    // Ends the program, asking first when UnresidentInfo is on. False when the user declined.
    bool QuitApp();
    bool ConfirmQuit();

    // Functions the key bindings call by name. True means the key was handled and is swallowed.
    Q_INVOKABLE bool Execute();
    Q_INVOKABLE bool AddMemo();
    Q_INVOKABLE bool ShowProperty();
    Q_INVOKABLE bool ShowToggleMemo();
    Q_INVOKABLE bool ShowMenu();
    Q_INVOKABLE bool ShowHelp();
    Q_INVOKABLE bool ExitApp();
    Q_INVOKABLE bool HideForm(); // always false: Esc still reaches the input line
    Q_INVOKABLE bool CreateNewMemo();
    Q_INVOKABLE bool DeleteActiveMemo();
    Q_INVOKABLE bool MovePrevMemo();
    Q_INVOKABLE bool MoveNextMemo();
    Q_INVOKABLE bool DropdownTitle();
    Q_INVOKABLE bool ExecuteMemoLine();
    // Opens the memo pane's find view with the input line's text as the query (false for an
    // empty or blank one); while it is open, typing narrows it, Up and Down move, Enter jumps to
    // the line and Esc closes it, giving back the input line and the pane as they were.
    Q_INVOKABLE bool FindMemo();

    bool ShowForm();
    void SetMemoView(int mode);
    int MemoView() const { return m_memoView; }
    void UpdateMenuCaptions();
    void ShowVersionInfo();
    void SetupHotKey(bool enable);
    void AppendDropText(const QMimeData* data);

    // Topmost band on or off for this window.
    void SetTopMost(bool on);

    // Runs `box` with the window out of the topmost band when TopMost is on.
    template <typename Box> auto withTopMostSuspended(Box&& box) {
        const bool topMost = config::options().TopMost;
        if (topMost)
            SetTopMost(false);
        struct Restore {
            frmMemo* window;
            bool on;
            ~Restore() {
                if (on)
                    window->SetTopMost(true);
            }
        } restore{this, topMost};
        return box();
    }

    void focusMemoPane();
    // The memos of the memo file, which the memo pane shows.
    memo::MemoFiler& memos() const;

    // How the window opens help and memo lines (the program's shell execution, empty verb).
    void setShellOpener(std::function<bool(const QString& target)> opener);
    // The settings dialog, shown modally by ShowProperty with a tab index (0 keeps its tab).
    void setSettingsDialog(std::function<void(frmMemo&, int tabIndex)> dialog);
    // Runs a timer's line through the dispatcher, leaving the input line and the history alone.
    bool RunTimerLine(const QString& line);
    // The program's script evaluator (null before Initialize and after Unload).
    engine::IEvaluator* evaluator() const;

    input::CKeyMapping* keyMapping() const;
    const input::CMRUCombo& history() const;
    // Forgets the history and writes the empty history at once: what was typed by mistake (a
    // password) must not wait on disk for the program's end.
    void ClearHistory();
    QComboBox* inputLine() const { return m_cmbMemo; }
    memo::uMultiMemo* memoPane() const { return m_ctlMemo; }
    TitleStrip* titleStrip() const { return m_picTitleBar; }
    QMenu* popupMenu() const { return m_mnuPopup; }
    QAction* menuView() const { return m_mnuPopupView; }
    QAction* menuLogView() const { return m_mnuPopupLogView; }
    bool trayReady() const { return m_trayReady; }
    CTray* tray() const;
    CHotKey* hotKey() const;

    // Called when the program gains or loses activation.
    void onAppActivate();
    void onAppDeactivate();
    void SavePosition();

    // app::IPlacedWindow
    int frameHeightTwips() const override;
    int inputLineHeightTwips() const override;
    int memoPaneHeightTwips() const override;
    int screenWidthTwips() const override;
    int screenHeightTwips() const override;
    void setWindowHeightTwips(int height) override;
    int windowHeightTwips() const override;
    void setWindowWidthTwips(int width) override;
    int windowWidthTwips() const override;
    void setMemoPaneHeightTwips(int height) override;
    void setWindowLeftTwips(int left) override;
    int windowLeftTwips() const override;
    void setWindowTopTwips(int top) override;
    int windowTopTwips() const override;
    QList<QRect> availableAreasTwips() const override;

signals:
    // The unload finished; the program ends when nothing else holds it.
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void layoutControls();
    void applySizeLimits(int minWidth, int maxWidth, int minHeight, int maxHeight);
    void popupMenuAt(const QPoint& globalPosition, bool viewClosesWindow);
    void onTitleStripReleased(Qt::MouseButton button, const QPoint& globalPosition);
    void createEvaluator();
    void createDispatcher();
    void reportMemoFailure(memo::MemoFiler::Failure failure, const memo::MemoFileError& error,
                           const QString& fileName);
    // A box now, or (afterReply) once the event loop runs again, one for a run of failures.
    void tellUser(const QString& text, bool afterReply);
    void reportMemoFileError(const memo::MemoFileError& error, const QString& fileName);
    void runSettingsDialog(int tabIndex);
    bool routeInputLineKey(QKeyEvent* event);
    QString typedQuery() const;
    void onInputLineEdited();
    bool routeFindKey(QKeyEvent* event);
    void jumpToFoundLine();
    void endFind(bool restoreMemoView);
    void routeMemoPaneKeyDown(int& keyCode, int& shift);
    void routeMemoPaneKeyPress(int& keyAscii);
    void confirmMemoDelete(int& memoIndex, bool& cancel);
    // The window's own hooks (size limits, activation, resize edges) come before its first show;
    // the ways to call it back (icon, tray, hotkey) may follow it.
    void createWindowHooks();
    void createCallBackPaths();
    void releaseDesktopIntegration();
    void focusInputLine();
    void saveHistory(config::CIniFile& ini); // the "MRU" section, a box when that fails
    // Whether the hidden window can be called back by the tray icon or the hotkey.
    bool canBeCalledBack() const;
    void onTrayMouseDown(int button);
    void onTrayMouseUp(int button);
    bool isMenuKey(int keyCode, int shift) const;
    bool memoPaneIsActive() const;
    int frameWidth() const;
    int frameHeight() const;

    struct Members;
    std::unique_ptr<Members> m;

    CPrevInstance* m_pPI = nullptr;
    TitleStrip* m_picTitleBar = nullptr;
    QComboBox* m_cmbMemo = nullptr;
    memo::uMultiMemo* m_ctlMemo = nullptr;
    QMenu* m_mnuPopup = nullptr;
    QAction* m_mnuPopupView = nullptr;
    QAction* m_mnuPopupLogView = nullptr;
    QAction* m_mnuPopupProperty = nullptr;
    QMenu* m_mnuPopupHelp = nullptr;
    QAction* m_mnuPopupHelpHelp = nullptr;
    QAction* m_mnuPopupHelpVerInfo = nullptr;
    QAction* m_mnuPopupExit = nullptr;

    int m_memoView = 0;
    // What the find view gives back when it closes.
    struct FindReturn {
        QString inputText;
        int memoView = 0;
    };
    std::optional<FindReturn> m_findReturn;
    bool m_trayReady = false;
    bool m_wasForeground = false;
    bool m_settingsLoaded = false;
    bool m_unloaded = false;
    // While a line handed over through the channel is filed: where the reason of a failure goes.
    QString* m_handOffFailure = nullptr;
    bool m_boxAfterReplyPending = false;
    std::function<bool(const QString&)> m_shellOpener;
    std::function<void(frmMemo&, int)> m_settingsDialog;
};
