#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace platform {
class IAlarm;
}

namespace settings_dialog {

// One registered timer: the line to run and its moment.
struct TimerEntry {
    QDateTime moment;
    QString command;
};

// The timers of this run, in the order of registration. They live in memory only and end with
// the program. Each runs once at its moment through the runner (the main window's line
// dispatcher) and then leaves the list. One alarm is aimed at the earliest moment and aimed
// again whenever the list changes; nothing polls.
class TimerList : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    using Runner = std::function<void(const QString& command)>;

    TimerList(Clock clock, std::unique_ptr<platform::IAlarm> alarm);
    ~TimerList() override;

    QDateTime now() const { return m_clock(); }
    const QList<TimerEntry>& entries() const { return m_entries; }
    void append(const TimerEntry& entry);
    void removeAt(int index); // 0-based; an index outside the list does nothing

    // Who runs a due command. Without a runner, due entries wait.
    void setRunner(Runner runner);

    // Runs every entry that is due, one after the other in registration order. Called by the
    // alarm; a call while a command is still running (a box it opened) waits for it.
    void runDue();

signals:
    void changed();

private:
    void aim();

    Clock m_clock;
    std::unique_ptr<platform::IAlarm> m_alarm;
    Runner m_runner;
    QList<TimerEntry> m_entries;
    bool m_running = false;
    bool m_lookAgain = false;
};

// The program's timer list, on the system clock.
TimerList& timerList();

// The moment of a time-of-day timer registered at `now`: today at hour:minute:00, or tomorrow
// when `now` is already later than that.
QDateTime timeOfDayMoment(const QDateTime& now, int hour, int minute);

} // namespace settings_dialog
