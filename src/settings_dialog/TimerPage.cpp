#include "TimerPage.h"

#include "PropertyHost.h"
#include "TimerList.h"
#include "platform/gui/Twips.h"

#include "controls/uSpinButton.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace settings_dialog {

namespace mb = platform::mb;

namespace {

int g_rememberedMode = 0;

controls::uSpinButton* spinBox(const QString& name, int min, int max, QWidget* parent) {
    auto* spin = new controls::uSpinButton(parent);
    spin->setObjectName(name);
    spin->setMin(min);
    spin->setMax(max);
    spin->setValue(min);
    // Wide enough for four digits and the arrows.
    spin->setFixedWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                        spin->textBox()->sizeHint().height());
    return spin;
}

QLabel* namedLabel(const QString& name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TimerPage::TimerPage(IPropertyHost& host, TimerList& timers, QWidget* parent)
    : QWidget(parent), m_host(host), m_timers(timers) {
    auto* fraTimerMode = new QGroupBox(QCoreApplication::translate("TimerPage", "種類"), this);
    fraTimerMode->setObjectName(QStringLiteral("fraTimerMode"));
    m_optTimer[0] = new QRadioButton(
        QCoreApplication::translate("TimerPage", "指定した時刻にコマンドを実行(&T)"), fraTimerMode);
    m_optTimer[1] = new QRadioButton(
        QCoreApplication::translate("TimerPage", "指定した時間後にコマンドを実行(&W)"),
        fraTimerMode);
    m_optTimer[0]->setObjectName(QStringLiteral("optTimer0"));
    m_optTimer[1]->setObjectName(QStringLiteral("optTimer1"));

    // The two kinds' boxes lie on top of each other; the chosen kind's frame is in front.
    m_fraTimer = new QStackedWidget(fraTimerMode);
    auto* atTime = new QWidget(m_fraTimer);
    atTime->setObjectName(QStringLiteral("fraTimer0"));
    m_uspnHour = spinBox(QStringLiteral("uspnHour"), 0, 23, atTime);
    m_uspnMinute = spinBox(QStringLiteral("uspnMinute"), 0, 59, atTime);
    auto* atTimeRow = new QHBoxLayout(atTime);
    atTimeRow->setContentsMargins(0, 0, 0, 0);
    atTimeRow->addWidget(m_uspnHour);
    atTimeRow->addWidget(namedLabel(QStringLiteral("lblHour"),
                                    QCoreApplication::translate("TimerPage", "時"), atTime));
    atTimeRow->addWidget(m_uspnMinute);
    atTimeRow->addWidget(namedLabel(QStringLiteral("lblTimer"),
                                    QCoreApplication::translate("TimerPage", "分にコマンドを実行"),
                                    atTime));
    atTimeRow->addStretch(1);
    auto* later = new QWidget(m_fraTimer);
    later->setObjectName(QStringLiteral("fraTimer1"));
    m_uspnStopWatch = spinBox(QStringLiteral("uspnStopWatch"), 1, 1440, later);
    auto* laterRow = new QHBoxLayout(later);
    laterRow->setContentsMargins(0, 0, 0, 0);
    laterRow->addWidget(m_uspnStopWatch);
    laterRow->addWidget(namedLabel(QStringLiteral("lblStopWatch"),
                                   QCoreApplication::translate("TimerPage", "分後にコマンドを実行"),
                                   later));
    laterRow->addWidget(
        namedLabel(QStringLiteral("lblStopWatchInfo"),
                   QCoreApplication::translate("TimerPage",
                                               "1分～1440分(24時間)まで、一分刻みで指定できます。"),
                   later));
    laterRow->addStretch(1);
    m_fraTimer->addWidget(atTime);
    m_fraTimer->addWidget(later);

    auto* modeLayout = new QVBoxLayout(fraTimerMode);
    modeLayout->addWidget(m_optTimer[0]);
    modeLayout->addWidget(m_optTimer[1]);
    modeLayout->addWidget(m_fraTimer);

    m_txtExecuteCommand = new QLineEdit(this);
    m_txtExecuteCommand->setObjectName(QStringLiteral("txtExecuteCommand"));
    auto* lblExecuteCommand =
        namedLabel(QStringLiteral("lblExecuteCommand"),
                   QCoreApplication::translate("TimerPage", "実行するコマンド(&C):"), this);
    lblExecuteCommand->setBuddy(m_txtExecuteCommand);
    m_cmdTimerSet = new QPushButton(QCoreApplication::translate("TimerPage", "登録(&R)"), this);
    m_cmdTimerSet->setObjectName(QStringLiteral("cmdTimerSet"));

    m_lsvTimer = new QTreeWidget(this);
    m_lsvTimer->setObjectName(QStringLiteral("lsvTimer"));
    m_lsvTimer->setHeaderLabels({QCoreApplication::translate("TimerPage", "設定時間"),
                                 QCoreApplication::translate("TimerPage", "コマンド")});
    m_lsvTimer->setRootIsDecorated(false);
    m_lsvTimer->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lsvTimer->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lsvTimer->setAllColumnsShowFocus(true);
    m_lsvTimer->setColumnWidth(0, platform::twipsToPixelsX(this, 1235));
    m_lsvTimer->setColumnWidth(1, platform::twipsToPixelsX(this, 7409));
    auto* lblTimerList =
        namedLabel(QStringLiteral("lblTimerList"),
                   QCoreApplication::translate("TimerPage", "作動中のタイマー(&L):"), this);
    lblTimerList->setBuddy(m_lsvTimer);
    m_cmdTimerReset = new QPushButton(QCoreApplication::translate("TimerPage", "削除(&D)"), this);
    m_cmdTimerReset->setObjectName(QStringLiteral("cmdTimerReset"));

    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(lblExecuteCommand);
    commandRow->addWidget(m_txtExecuteCommand, 1);
    commandRow->addWidget(m_cmdTimerSet);
    auto* resetRow = new QHBoxLayout;
    resetRow->addStretch(1);
    resetRow->addWidget(m_cmdTimerReset);
    auto* page = new QVBoxLayout(this);
    page->addWidget(fraTimerMode);
    page->addLayout(commandRow);
    page->addWidget(lblTimerList);
    page->addWidget(m_lsvTimer, 1);
    page->addLayout(resetRow);

    // Opening the page: the remembered kind, the current hour and minute, the sample command.
    const QTime now = m_timers.now().time();
    m_uspnHour->setValue(now.hour());
    m_uspnMinute->setValue(now.minute());
    m_txtExecuteCommand->setText(
        QCoreApplication::translate("TimerPage", "MsgBox(\"時間になりました。\")"));
    setMode(g_rememberedMode);
    refill();

    connect(m_optTimer[0], &QRadioButton::clicked, this, [this] { setMode(0); });
    connect(m_optTimer[1], &QRadioButton::clicked, this, [this] { setMode(1); });
    connect(m_cmdTimerSet, &QPushButton::clicked, this, &TimerPage::cmdTimerSet_Click);
    connect(m_cmdTimerReset, &QPushButton::clicked, this, &TimerPage::cmdTimerReset_Click);
    // A timer that went off while the dialog is open leaves the list shown here too.
    connect(&m_timers, &TimerList::changed, this, &TimerPage::refill);
    m_lsvTimer->installEventFilter(this);
}

int TimerPage::rememberedMode() {
    return g_rememberedMode;
}

void TimerPage::rememberMode() const {
    g_rememberedMode = mode();
}

int TimerPage::mode() const {
    return m_optTimer[1]->isChecked() ? 1 : 0;
}

QWidget* TimerPage::fraTimer(int index) const {
    return m_fraTimer->widget(index);
}

QList<QWidget*> TimerPage::registerFocusWidgets() const {
    return {m_optTimer[0], m_optTimer[1], m_uspnHour->textBox(), m_uspnMinute->textBox(),
            m_txtExecuteCommand};
}

void TimerPage::setMode(int mode) {
    m_optTimer[mode]->setChecked(true);
    fraTimer(0)->setEnabled(false);
    fraTimer(1)->setEnabled(false);
    fraTimer(mode)->setEnabled(true);
    m_fraTimer->setCurrentIndex(mode);
}

int TimerPage::ask(const QString& text, int style) {
    return platform::showMessageBox(text, style, m_host.appTitleWithVersion());
}

void TimerPage::cmdTimerSet_Click() {
    if (m_txtExecuteCommand->text().isEmpty()) {
        ask(QCoreApplication::translate("TimerPage", "実行するコマンドが入力されていません"),
            int(mb::OKOnly) | mb::Exclamation);
        m_txtExecuteCommand->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (ask(QCoreApplication::translate("TimerPage", "タイマーを開始します。"),
            int(mb::OKCancel) | mb::Information) != mb::OK)
        return;
    const QDateTime now = m_timers.now();
    TimerEntry entry;
    entry.command = m_txtExecuteCommand->text();
    entry.moment = mode() == 0 ? timeOfDayMoment(now, m_uspnHour->Value(), m_uspnMinute->Value())
                               : now.addSecs(qint64(m_uspnStopWatch->Value()) * 60);
    m_timers.append(entry); // the list refills on the change
}

void TimerPage::cmdTimerReset_Click() {
    QTreeWidgetItem* row = m_lsvTimer->currentItem();
    const int index = row ? m_lsvTimer->indexOfTopLevelItem(row) : -1;
    if (index < 0 || index >= m_timers.entries().size())
        return; // nothing selected: nothing to delete
    const TimerEntry chosen = m_timers.entries().at(index);
    const int answer = ask(QCoreApplication::translate(
                               "TimerPage", "%1に作動するタイマーを削除します。\nよろしいですか？")
                               .arg(row->text(0)),
                           int(mb::OKCancel) | mb::Exclamation | mb::DefaultButton2);
    if (answer != mb::OK)
        return;
    // An earlier timer may have gone off while the question was open, moving the chosen entry
    // up; the entry itself is removed, not whatever now stands at its old place.
    const QList<TimerEntry>& entries = m_timers.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].moment == chosen.moment && entries[i].command == chosen.command) {
            m_timers.removeAt(int(i));
            return;
        }
    }
}

void TimerPage::refill() {
    m_lsvTimer->clear();
    for (const TimerEntry& entry : m_timers.entries()) {
        auto* row = new QTreeWidgetItem(
            {entry.moment.time().toString(QStringLiteral("HH:mm:ss")), entry.command});
        m_lsvTimer->addTopLevelItem(row);
    }
    m_cmdTimerReset->setEnabled(m_lsvTimer->topLevelItemCount() > 0);
}

bool TimerPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lsvTimer && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        cmdTimerReset_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace settings_dialog
