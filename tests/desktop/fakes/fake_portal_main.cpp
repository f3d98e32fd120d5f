// A fake desktop portal on the session bus named by DBUS_SESSION_BUS_ADDRESS.
// Usage: scrivlet-fake-portal [--version N] [--registry] [--trigger TEXT] [--respond METHOD=CODE]
#include "FakePortal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{"version", "Interface version (0: none).", "N", "1"},
                       {"registry", "Offer the app id registry."},
                       {"trigger", "The trigger the desktop gives.", "TEXT"},
                       {"respond", "Response code of a method.", "METHOD=CODE"}});
    parser.process(application);
    FakePortal::Options options;
    options.version = parser.value("version").toUInt();
    options.registry = parser.isSet("registry");
    options.givenTrigger = parser.value("trigger");
    for (const QString& pair : parser.values("respond"))
        options.responses.insert(pair.section('=', 0, 0), pair.section('=', 1).toUInt());

    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal(bus, options);
    FakePortalControl control(&portal, bus);
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal) ||
        !bus.registerObject(QStringLiteral("/org/scrivlet/test"), &control,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "fake portal: cannot register on the bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    return application.exec();
}
