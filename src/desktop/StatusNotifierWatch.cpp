#include "StatusNotifierWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

namespace desktop {

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
}

StatusNotifierWatch::StatusNotifierWatch(QObject* parent)
    : QObject(parent),
      m_watcher(new QDBusServiceWatcher(kWatcherService, QDBusConnection::sessionBus(),
                                        QDBusServiceWatcher::WatchForOwnerChange, this)) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (!newOwner.isEmpty())
                    emit appeared();
            });
}

bool StatusNotifierWatch::isPresent() const {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(kWatcherService);
}

} // namespace desktop
