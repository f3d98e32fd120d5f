// A fake tray host's StatusNotifierWatcher on the session bus named by DBUS_SESSION_BUS_ADDRESS.
#include "FakeStatusNotifierWatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakeStatusNotifierWatcher watcher;
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "fake tray host: cannot register on the bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    return application.exec();
}
