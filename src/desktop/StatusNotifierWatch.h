#pragma once

#include <QObject>

class QDBusServiceWatcher;

namespace desktop {

// Watches the session bus for a StatusNotifierWatcher, the service through which tray hosts
// (Plasma's panel, waybar, a GNOME extension) learn about tray icons. Qt decides once per icon
// object whether it speaks to such a host, so an icon made before the host started stays
// invisible for the whole session; the owner makes its icon again on `appeared`.
class StatusNotifierWatch : public QObject {
    Q_OBJECT

public:
    explicit StatusNotifierWatch(QObject* parent = nullptr);

    // Whether a watcher is on the bus now.
    bool isPresent() const;

signals:
    // A watcher came (or a new one replaced the old one).
    void appeared();

private:
    QDBusServiceWatcher* m_watcher;
};

} // namespace desktop
