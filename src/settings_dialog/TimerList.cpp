#include "TimerList.h"

#include "platform/WallClockAlarm.h"

namespace settings_dialog {

TimerList::TimerList(Clock clock, std::unique_ptr<platform::IAlarm> alarm)
    : m_clock(std::move(clock)), m_alarm(std::move(alarm)) {
    m_alarm->setCallback([this] { runDue(); });
}

TimerList::~TimerList() {
    m_alarm->setCallback({});
}

void TimerList::append(const TimerEntry& entry) {
    m_entries.append(entry);
    aim();
    emit changed();
}

void TimerList::removeAt(int index) {
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries.removeAt(index);
    aim();
    emit changed();
}

void TimerList::setRunner(Runner runner) {
    m_runner = std::move(runner);
    aim();
}

void TimerList::runDue() {
    if (m_running) {
        m_lookAgain = true;
        return;
    }
    m_running = true;
    do {
        m_lookAgain = false;
        const QDateTime now = m_clock();
        for (qsizetype i = 0; m_runner && i < m_entries.size();) {
            if (m_entries[i].moment > now) {
                ++i;
                continue;
            }
            // Out of the list before it runs: a box the command opens runs a nested event loop
            // in which the list may be shown or changed, and the entry must not run twice.
            const QString command = m_entries.takeAt(i).command;
            emit changed();
            m_runner(command);
            i = 0; // the list may have changed meanwhile
        }
    } while (m_lookAgain);
    m_running = false;
    aim();
}

void TimerList::aim() {
    if (m_entries.isEmpty() || !m_runner) {
        m_alarm->cancel();
        return;
    }
    QDateTime earliest = m_entries.front().moment;
    for (const TimerEntry& entry : m_entries)
        earliest = qMin(earliest, entry.moment);
    m_alarm->aimAt(earliest);
}

TimerList& timerList() {
    // Never destroyed: its alarm must not outlive the event loop's end in a static destructor.
    static TimerList* const list = new TimerList([] { return QDateTime::currentDateTime(); },
                                                 std::make_unique<platform::WallClockAlarm>());
    return *list;
}

QDateTime timeOfDayMoment(const QDateTime& now, int hour, int minute) {
    // Whole seconds: 10:00 registered at 10:00:00.400 is this minute, not tomorrow's.
    const QDateTime second = now.addMSecs(-now.time().msec());
    QDateTime moment(now.date(), QTime(hour, minute, 0));
    if (second > moment)
        moment = QDateTime(now.date().addDays(1), QTime(hour, minute, 0));
    return moment;
}

} // namespace settings_dialog
