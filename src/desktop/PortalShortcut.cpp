#include "PortalShortcut.h"

#include <QDBusMetaType>

namespace desktop {

void registerPortalShortcutTypes() {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
}

PortalShortcutList portalShortcutsFromVariant(const QVariant& value) {
    PortalShortcutList list;
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() == QLatin1String("a(sa{sv})"))
            argument >> list;
    } else if (value.canConvert<PortalShortcutList>()) {
        list = value.value<PortalShortcutList>();
    }
    return list;
}

} // namespace desktop

QDBusArgument& operator<<(QDBusArgument& argument, const desktop::PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, desktop::PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}
