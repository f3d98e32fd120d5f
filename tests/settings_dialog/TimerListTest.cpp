#include "FakeAlarm.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using dialogtest::FakeTimers;

QDateTime at(int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

struct MomentCase {
    const char* name;
    QTime now;
    int hour, minute;
    QDateTime expected;
};

class TimeOfDay : public ::testing::TestWithParam<MomentCase> {};

TEST_P(TimeOfDay, MomentIsTodayUnlessAlreadyPast) {
    const MomentCase& c = GetParam();
    EXPECT_EQ(
        settings_dialog::timeOfDayMoment(QDateTime(QDate(2026, 12, 7), c.now), c.hour, c.minute),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Registration, TimeOfDay,
    ::testing::Values(MomentCase{"sameMinuteLater", QTime(10, 0, 30), 10, 0, at(8, 10, 0)},
                      MomentCase{"minuteBefore", QTime(10, 0, 30), 9, 59, at(8, 9, 59)},
                      MomentCase{"minuteAfter", QTime(10, 0, 30), 10, 1, at(7, 10, 1)},
                      MomentCase{"equalIsNotLater", QTime(10, 0, 0), 10, 0, at(7, 10, 0)},
                      MomentCase{"sameSecondIsNotLater", QTime(10, 0, 0, 400), 10, 0, at(7, 10, 0)},
                      MomentCase{"nextSecondIsLater", QTime(10, 0, 1), 10, 0, at(8, 10, 0)},
                      MomentCase{"pastMidnight", QTime(23, 59, 59), 0, 0, at(8, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Timers, EachRunsOnceAtItsMomentInRegistrationOrderAndLeavesTheList) {
    FakeTimers t;
    QStringList ran;
    t.list.setRunner([&](const QString& line) { ran << line; });
    t.list.append({at(7, 10, 5), QStringLiteral("later")});
    t.list.append({at(7, 10, 1), QStringLiteral("first")});
    t.list.append({at(7, 10, 1), QStringLiteral("second")});
    EXPECT_EQ(t.time.aimedAt, at(7, 10, 1)) << "aimed at the earliest entry, not the first";

    t.time.now = at(7, 10, 1);
    t.alarm->goOff();
    EXPECT_EQ(ran, QStringList({"first", "second"}));
    ASSERT_EQ(t.list.entries().size(), 1);
    EXPECT_EQ(t.time.aimedAt, at(7, 10, 5)) << "aimed again at what is left";

    t.list.removeAt(0);
    EXPECT_FALSE(t.time.aimedAt.isValid()) << "an empty list leaves no alarm";
}

TEST(Timers, EntriesSleptThroughRunOnceOnWakeUp) {
    FakeTimers t;
    QStringList ran;
    t.list.setRunner([&](const QString& line) { ran << line; });
    t.list.append({at(7, 11, 0), QStringLiteral("a")});
    t.list.append({at(7, 12, 0), QStringLiteral("b")});
    t.list.append({at(8, 9, 0), QStringLiteral("tomorrow")});
    t.time.now = at(7, 18, 0); // the lid was closed from 10:00 to 18:00
    t.alarm->goOff();
    t.alarm->goOff(); // a second wake-up notice changes nothing
    EXPECT_EQ(ran, QStringList({"a", "b"}));
    EXPECT_EQ(t.time.aimedAt, at(8, 9, 0));
}

TEST(Timers, ALineThatRunsTheEventLoopIsNotRunAgainMeanwhile) {
    FakeTimers t;
    QStringList ran;
    // A box of the first line is open when the alarm notices the second one is due.
    t.list.setRunner([&](const QString& line) {
        ran << line;
        if (line == QLatin1String("box")) {
            t.time.now = at(7, 10, 2);
            t.alarm->goOff();
            EXPECT_EQ(ran, QStringList({"box"})) << "the second line waits for the box";
        }
    });
    t.list.append({at(7, 10, 0), QStringLiteral("box")});
    t.list.append({at(7, 10, 2), QStringLiteral("next")});
    t.time.now = at(7, 10, 0);
    t.alarm->goOff();
    EXPECT_EQ(ran, QStringList({"box", "next"}));
    EXPECT_TRUE(t.list.entries().isEmpty());
}

TEST(Timers, WithoutARunnerDueEntriesWait) {
    FakeTimers t;
    t.list.append({at(7, 10, 0), QStringLiteral("x")});
    t.time.now = at(7, 10, 1);
    t.alarm->goOff();
    EXPECT_EQ(t.list.entries().size(), 1);
    QStringList ran;
    t.list.setRunner([&](const QString& line) { ran << line; });
    EXPECT_TRUE(t.time.aimedAt.isValid());
    t.alarm->goOff();
    EXPECT_EQ(ran, QStringList({"x"}));
}

// The system's real-time alarm: a near moment and a past one both call back.
TEST(WallClockAlarm, GoesOffAtAnAbsoluteMomentAndAtOnceForAPastOne) {
    platform::WallClockAlarm alarm;
    EXPECT_TRUE(alarm.usesSystemTimer());
    int calls = 0;
    alarm.setCallback([&] { ++calls; });
    const QDateTime soon = QDateTime::currentDateTime().addMSecs(150);
    alarm.aimAt(soon);
    QTest::qWait(50);
    EXPECT_EQ(calls, 0) << "went off early";
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000));
    EXPECT_GE(QDateTime::currentDateTime(), soon);

    alarm.aimAt(QDateTime::currentDateTime().addSecs(-3600));
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 5000));

    alarm.aimAt(QDateTime::currentDateTime().addMSecs(100));
    alarm.cancel();
    QTest::qWait(300);
    EXPECT_EQ(calls, 2) << "a cancelled alarm stays silent";
}

} // namespace
