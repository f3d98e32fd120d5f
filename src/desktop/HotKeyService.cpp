#include "HotKeyService.h"

#include "PortalHotKeyService.h"
#include "X11HotKeyService.h"

#include <QGuiApplication>

#include <utility>

namespace desktop {

namespace {
IHotKeyService* g_service = nullptr;
}

IHotKeyService& hotKeyService() {
    if (g_service)
        return *g_service;
    // Wayland has no global grabs: the desktop hands out shortcuts through its portal.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        static PortalHotKeyService portal(QDBusConnection::sessionBus(),
                                          QGuiApplication::desktopFileName());
        return portal;
    }
    static X11HotKeyService x11;
    return x11;
}

IHotKeyService* setHotKeyService(IHotKeyService* service) {
    return std::exchange(g_service, service);
}

} // namespace desktop
