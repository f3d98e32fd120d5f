#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One entry of the desktop portal's shortcut lists, D-Bus type (sa{sv}): an id of the program's
// choosing and properties such as "description", "preferred_trigger" and "trigger_description".
namespace desktop {

struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;

// Registers the D-Bus marshalling of the two types; safe to call more than once.
void registerPortalShortcutTypes();

// The list inside a variant of a portal reply or signal (a QDBusArgument until read).
PortalShortcutList portalShortcutsFromVariant(const QVariant& value);

} // namespace desktop

QDBusArgument& operator<<(QDBusArgument& argument, const desktop::PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, desktop::PortalShortcut& shortcut);

Q_DECLARE_METATYPE(desktop::PortalShortcut)
Q_DECLARE_METATYPE(desktop::PortalShortcutList)
