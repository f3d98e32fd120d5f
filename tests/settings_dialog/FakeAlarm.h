#pragma once

#include "platform/WallClockAlarm.h"
#include "settings_dialog/TimerList.h"

#include <memory>

namespace dialogtest {

// A clock the test sets and an alarm that goes off only when the test says so, reporting where
// it was aimed.
struct FakeTime {
    QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(10, 0, 30));
    QDateTime aimedAt; // invalid while not aimed
};

class FakeAlarm final : public platform::IAlarm {
public:
    explicit FakeAlarm(FakeTime& time) : m_time(time) {}
    void aimAt(const QDateTime& moment) override { m_time.aimedAt = moment; }
    void cancel() override { m_time.aimedAt = QDateTime(); }
    // The moment came (or the machine woke up after it).
    void goOff() { fire(); }

private:
    FakeTime& m_time;
};

struct FakeTimers {
    FakeTime time;
    FakeAlarm* alarm = new FakeAlarm(time);
    settings_dialog::TimerList list{[this] { return time.now; },
                                    std::unique_ptr<platform::IAlarm>(alarm)};
};

} // namespace dialogtest
