#include "FakeStatusNotifierWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
    // An item names its bus name, or only its object path (then the caller is the service).
    const QString item = service.startsWith(QLatin1Char('/'))
                             ? message().service() + service
                             : service + QStringLiteral("/StatusNotifierItem");
    if (!m_items.contains(item))
        m_items << item;
    emit StatusNotifierItemRegistered(item);
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {
    emit StatusNotifierHostRegistered();
}
