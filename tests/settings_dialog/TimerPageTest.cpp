#include "DialogFixture.h"

#include "controls/uSpinButton.h"
#include "settings_dialog/TimerPage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace {

using dialogtest::DialogTest;
namespace mb = platform::mb;

QDateTime at(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

struct RegisterCase {
    const char* name;
    QDateTime now;
    int mode;
    int hourOrMinutes;
    int minute;
    QDateTime moment;
    const char* shown; // the list's first column
};

class TimerRegister : public DialogTest, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(TimerRegister, GivesTheMomentAndShowsItsTimeOfDay) {
    const RegisterCase& c = GetParam();
    timers.time.now = c.now;
    settings_dialog::frmProperty& d = open();
    settings_dialog::TimerPage* page = d.timerPage();
    EXPECT_EQ(page->uspnHour()->Value(), c.now.time().hour()) << "opens at the current time";
    EXPECT_EQ(page->uspnMinute()->Value(), c.now.time().minute());
    page->optTimer(c.mode)->click();
    EXPECT_TRUE(page->fraTimer(c.mode)->isEnabled());
    EXPECT_FALSE(page->fraTimer(1 - c.mode)->isEnabled());
    if (c.mode == 0) {
        page->uspnHour()->setValue(c.hourOrMinutes);
        page->uspnMinute()->setValue(c.minute);
    } else {
        page->uspnStopWatch()->setValue(c.hourOrMinutes);
    }
    boxes.answers = {mb::OK};
    page->cmdTimerSet_Click();
    ASSERT_EQ(timers.list.entries().size(), 1);
    EXPECT_EQ(timers.list.entries()[0].moment, c.moment);
    EXPECT_EQ(timers.list.entries()[0].command, QStringLiteral("MsgBox(\"時間になりました。\")"));
    ASSERT_EQ(page->lsvTimer()->topLevelItemCount(), 1);
    EXPECT_EQ(page->lsvTimer()->topLevelItem(0)->text(0), QString::fromUtf8(c.shown));
    EXPECT_EQ(boxes.texts(), QStringList({"タイマーを開始します。"}));
    EXPECT_EQ(boxes.shown[0].style, int(mb::OKCancel) | mb::Information);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, TimerRegister,
    ::testing::Values(
        RegisterCase{"sameMinuteGoesToTomorrow", at(7, 10, 0, 30), 0, 10, 0, at(8, 10, 0),
                     "10:00:00"},
        RegisterCase{"earlierMinuteTomorrow", at(7, 10, 0, 30), 0, 9, 59, at(8, 9, 59), "09:59:00"},
        RegisterCase{"laterMinuteToday", at(7, 10, 0, 30), 0, 10, 1, at(7, 10, 1), "10:01:00"},
        RegisterCase{"equalMomentToday", at(7, 10, 0, 0), 0, 10, 0, at(7, 10, 0), "10:00:00"},
        RegisterCase{"fullDayLater", at(7, 10, 0, 30), 1, 1440, 0, at(8, 10, 0, 30), "10:00:30"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, TimersAreKeptInOrderOutliveTheDialogAndAreDeletedByTheirRow) {
    settings_dialog::frmProperty& d = open();
    settings_dialog::TimerPage* page = d.timerPage();
    page->txtExecuteCommand()->clear();
    page->cmdTimerSet_Click();
    EXPECT_EQ(boxes.texts(), QStringList({"実行するコマンドが入力されていません"}));
    EXPECT_TRUE(timers.list.entries().isEmpty());
    EXPECT_FALSE(page->cmdTimerReset()->isEnabled());

    page->optTimer(1)->click();
    page->uspnStopWatch()->setValue(5);
    boxes.answers = {mb::Cancel, mb::OK, mb::OK};
    for (const char* command : {"cancelled", "first", "second"}) {
        page->txtExecuteCommand()->setText(QString::fromUtf8(command));
        page->cmdTimerSet_Click();
    }
    ASSERT_EQ(timers.list.entries().size(), 2);
    EXPECT_EQ(timers.list.entries()[0].command, QStringLiteral("first"));
    EXPECT_EQ(timers.list.entries()[1].command, QStringLiteral("second"));
    EXPECT_EQ(timers.list.entries()[0].moment, timers.list.entries()[1].moment);
    d.cmdCancel()->click(); // the timers stay all the same

    settings_dialog::frmProperty& again = open();
    settings_dialog::TimerPage* reopened = again.timerPage();
    EXPECT_EQ(reopened->mode(), 0) << "the kind is remembered only through OK";
    ASSERT_EQ(reopened->lsvTimer()->topLevelItemCount(), 2);
    reopened->lsvTimer()->setCurrentItem(reopened->lsvTimer()->topLevelItem(1));
    boxes.shown.clear();
    boxes.answers = {mb::OK};
    reopened->cmdTimerReset_Click();
    EXPECT_EQ(boxes.texts(),
              QStringList({"10:05:30に作動するタイマーを削除します。\nよろしいですか？"}));
    ASSERT_EQ(timers.list.entries().size(), 1);
    EXPECT_EQ(timers.list.entries()[0].command, QStringLiteral("first"));

    // The first one goes off while the question about the last row is open: the row asked
    // about is the one removed.
    reopened->lsvTimer()->setCurrentItem(reopened->lsvTimer()->topLevelItem(0));
    timers.list.append({timers.time.now.addSecs(600), QStringLiteral("third")});
    reopened->lsvTimer()->setCurrentItem(reopened->lsvTimer()->topLevelItem(1));
    QStringList ran;
    timers.list.setRunner([&](const QString& line) { ran << line; });
    platform::setMessageBoxHandler([&](const platform::MessageBoxRequest&) {
        timers.time.now = timers.time.now.addSecs(300);
        timers.alarm->goOff();
        return int(mb::OK);
    });
    reopened->cmdTimerReset_Click();
    EXPECT_EQ(ran, QStringList({"first"}));
    EXPECT_TRUE(timers.list.entries().isEmpty());
    EXPECT_EQ(reopened->lsvTimer()->topLevelItemCount(), 0);
    EXPECT_FALSE(reopened->cmdTimerReset()->isEnabled());
}

TEST_F(DialogTest, TimerKindIsRememberedThroughOk) {
    settings_dialog::frmProperty& d = open();
    d.timerPage()->optTimer(1)->click();
    d.cmdOK()->click();
    settings_dialog::frmProperty& again = open();
    EXPECT_EQ(again.timerPage()->mode(), 1);
    EXPECT_TRUE(again.timerPage()->optTimer(1)->isChecked());
    EXPECT_FALSE(again.timerPage()->fraTimer(0)->isEnabled());
    again.timerPage()->optTimer(0)->click();
    again.cmdOK()->click();
}

} // namespace
