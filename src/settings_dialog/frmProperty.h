#pragma once

#include <QDialog>
#include <QHash>

namespace config {
class CIniFile;
}
class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
namespace controls {
class uHotKey;
}
namespace controls {
class uSpinButton;
}
namespace config {
struct Options;
}
namespace settings_dialog {

class CommandPage;
class IPropertyHost;
class TimerList;
class TimerPage;

// The settings dialog: the options of section "Options", the registered commands and the timers.
// OK and Apply write every option to the settings file and to the running program's values, then
// the whole section "Command"; Cancel and the frame's close button drop the edits.
class frmProperty : public QDialog {
    Q_OBJECT

public:
    // Loads the controls from `ini` (not from the running values).
    frmProperty(IPropertyHost& host, config::CIniFile& ini, config::Options& options,
                TimerList& timers, QWidget* owner = nullptr);
    ~frmProperty() override;

    // Selects tab `tabIndex` (1 general, 2 commands, 3 timers; 0 keeps the remembered one) and
    // shows the dialog, modally when asked. Returns the dialog's result when modal.
    int Show2(int tabIndex, bool modal);

    // The tab last confirmed with OK in this run (1 until then).
    static int rememberedTab();

    // False when the settings file could not be written (the user was told).
    bool save();
    void cmdOK_Click();
    void cmdApp_Click();
    void cmdCancel_Click();
    void cmdMemoFileNameRef_Click();
    void cmdDeleteMRU_Click();
    void cmdVbsEdit_Click();
    void cmdVbsLoad_Click();

    QTabWidget* tabStrip() const { return m_TabStrip; }
    CommandPage* commandPage() const { return m_commandPage; }
    TimerPage* timerPage() const { return m_timerPage; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    QPushButton* cmdApp() const { return m_cmdApp; }
    QToolButton* chkToggleTopMost() const { return m_chkToggleTopMost; }
    // A general-page check box by its option key ("TopMost") or "StartAtLogin".
    QCheckBox* optionBox(const QString& key) const { return m_optionBoxes.value(key); }
    QLineEdit* txtMemoFileName() const { return m_txtMemoFileName; }
    controls::uHotKey* txtHotKey() const { return m_txtHotKey; }
    QCheckBox* chkMRULimit() const { return m_chkMRULimit; }
    controls::uSpinButton* uspnMRU() const { return m_uspnMRU; }
    QLabel* lblExecutableInfo() const { return m_lblExecutableInfo; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildGeneralPage();
    void load();
    void enableApply() const;
    void makeDefault(QPushButton* button);
    void watchFocus(QWidget* widget, QPushButton* defaultButton, bool selectAll);
    int ask(const QString& text, int style) const;

    IPropertyHost& m_host;
    config::CIniFile& m_ini;
    config::Options& m_options;
    QTabWidget* m_TabStrip = nullptr;
    CommandPage* m_commandPage = nullptr;
    TimerPage* m_timerPage = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdApp = nullptr;
    QToolButton* m_chkToggleTopMost = nullptr;
    QHash<QString, QCheckBox*> m_optionBoxes;
    QLineEdit* m_txtMemoFileName = nullptr;
    controls::uHotKey* m_txtHotKey = nullptr;
    QCheckBox* m_chkMRULimit = nullptr;
    controls::uSpinButton* m_uspnMRU = nullptr;
    QLabel* m_lblExecutableInfo = nullptr;
    // Which button a control's focus makes the default one, and whether it selects its text.
    struct FocusRule {
        QPushButton* button;
        bool selectAll;
    };
    QHash<QObject*, FocusRule> m_focusRules;
};

} // namespace settings_dialog
