#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>

class QSocketNotifier;
class QTimer;

namespace platform {

// Something that calls back once at a moment of the wall clock.
class IAlarm {
public:
    virtual ~IAlarm() = default;
    // Replaces any earlier aim; a moment already past calls back at once (from the event loop).
    virtual void aimAt(const QDateTime& moment) = 0;
    virtual void cancel() = 0;
    void setCallback(std::function<void()> callback) { m_callback = std::move(callback); }

protected:
    void fire() {
        if (m_callback)
            m_callback();
    }

private:
    std::function<void()> m_callback;
};

// The real alarm: one timer of the system's real-time clock set to an absolute moment. Unlike a
// countdown it also goes off when the machine slept through the moment (on wake-up) and when
// the clock is set past it; a clock set back calls back early, and the owner aims again.
class WallClockAlarm final : public QObject, public IAlarm {
    Q_OBJECT

public:
    explicit WallClockAlarm(QObject* parent = nullptr);
    ~WallClockAlarm() override;

    void aimAt(const QDateTime& moment) override;
    void cancel() override;
    // Whether the system timer could be made; without it aimAt falls back to a Qt timer.
    bool usesSystemTimer() const { return m_fd >= 0; }

private:
    void expired();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_fallback = nullptr;
};

} // namespace platform
