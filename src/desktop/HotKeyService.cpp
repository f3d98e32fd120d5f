#include "HotKeyService.h"

#include "KGlobalAccelHotKeyService.h"
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
    // Wayland has no global grabs: the desktop hands out shortcuts through its portal, or on
    // Plasma without the portal's backend through KDE's own service.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        static PortalHotKeyService portal(QDBusConnection::sessionBus(),
                                          QGuiApplication::desktopFileName());
        static IHotKeyService* chosen = nullptr;
        if (!chosen) {
            const bool plasma = qEnvironmentVariable("XDG_CURRENT_DESKTOP")
                                    .split(QLatin1Char(':'))
                                    .contains(QLatin1String("KDE"));
            if (!portal.portalOffersShortcuts() && plasma &&
                KGlobalAccelHotKeyService::isAvailable(QDBusConnection::sessionBus())) {
                static KGlobalAccelHotKeyService kde(QDBusConnection::sessionBus());
                chosen = &kde;
            } else {
                chosen = &portal;
            }
        }
        return *chosen;
    }
    static X11HotKeyService x11;
    return x11;
}

IHotKeyService* setHotKeyService(IHotKeyService* service) {
    return std::exchange(g_service, service);
}

} // namespace desktop
