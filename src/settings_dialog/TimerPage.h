#pragma once

#include <QWidget>
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
namespace controls {
class uSpinButton;
}

namespace settings_dialog {

class IPropertyHost;
class TimerList;

// The "タイマー" page: registers one-shot timers, at a time of day or a number of minutes from
// now, and shows and deletes the pending ones. The entries live in the program's timer list, so
// they outlast the dialog whichever button closes it.
class TimerPage : public QWidget {
    Q_OBJECT

public:
    TimerPage(IPropertyHost& host, TimerList& timers, QWidget* parent = nullptr);

    // The mode last confirmed with OK (0 time of day, 1 minutes from now), for this run only.
    static int rememberedMode();
    void rememberMode() const;
    int mode() const;
    void setMode(int mode);

    void cmdTimerSet_Click();
    void cmdTimerReset_Click();

    controls::uSpinButton* uspnHour() const { return m_uspnHour; }
    controls::uSpinButton* uspnMinute() const { return m_uspnMinute; }
    controls::uSpinButton* uspnStopWatch() const { return m_uspnStopWatch; }
    QLineEdit* txtExecuteCommand() const { return m_txtExecuteCommand; }
    QTreeWidget* lsvTimer() const { return m_lsvTimer; }
    QPushButton* cmdTimerSet() const { return m_cmdTimerSet; }
    QPushButton* cmdTimerReset() const { return m_cmdTimerReset; }
    QRadioButton* optTimer(int index) const { return m_optTimer[index]; }
    QWidget* fraTimer(int index) const;
    // The controls whose focus makes cmdTimerSet the default button.
    QList<QWidget*> registerFocusWidgets() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refill();
    int ask(const QString& text, int style);

    IPropertyHost& m_host;
    TimerList& m_timers;
    QRadioButton* m_optTimer[2] = {};
    QStackedWidget* m_fraTimer = nullptr;
    controls::uSpinButton* m_uspnHour = nullptr;
    controls::uSpinButton* m_uspnMinute = nullptr;
    controls::uSpinButton* m_uspnStopWatch = nullptr;
    QLineEdit* m_txtExecuteCommand = nullptr;
    QPushButton* m_cmdTimerSet = nullptr;
    QTreeWidget* m_lsvTimer = nullptr;
    QPushButton* m_cmdTimerReset = nullptr;
};

} // namespace settings_dialog
