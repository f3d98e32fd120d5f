#include "platform/WallClockAlarm.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {

WallClockAlarm::WallClockAlarm(QObject* parent) : QObject(parent) {
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { expired(); });
    } else {
        m_fallback = new QTimer(this);
        m_fallback->setSingleShot(true);
        m_fallback->setTimerType(Qt::PreciseTimer);
        connect(m_fallback, &QTimer::timeout, this, [this] { fire(); });
    }
}

WallClockAlarm::~WallClockAlarm() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void WallClockAlarm::aimAt(const QDateTime& moment) {
    const qint64 ms = moment.toMSecsSinceEpoch();
    if (m_fd < 0) {
        m_fallback->start(
            int(qBound<qint64>(0, ms - QDateTime::currentMSecsSinceEpoch(), 24LL * 3600 * 1000)));
        return;
    }
    itimerspec spec{};
    // A zero value would disarm the timer; the epoch's first nanosecond is long past.
    spec.it_value.tv_sec = ms > 0 ? ms / 1000 : 0;
    spec.it_value.tv_nsec = ms > 0 ? long(ms % 1000) * 1000000L : 1;
    if (::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) != 0)
        QTimer::singleShot(0, this, [this] { fire(); });
}

void WallClockAlarm::cancel() {
    if (m_fd < 0) {
        m_fallback->stop();
        return;
    }
    const itimerspec off{};
    ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &off, nullptr);
}

void WallClockAlarm::expired() {
    std::uint64_t count = 0;
    const ssize_t n = ::read(m_fd, &count, sizeof count);
    // ECANCELED: the clock was set; the owner looks at the list again and aims anew.
    if (n == ssize_t(sizeof count) || (n < 0 && errno == ECANCELED))
        fire();
}

} // namespace platform
