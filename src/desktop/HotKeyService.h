#pragma once

#include "WindowMessages.h"

#include <QString>

#include <functional>

// How system-wide key combinations reach the desktop: registration and release, with the press
// delivered to the owning window as msg::HotKey (wParam and lParam carrying the id).
namespace desktop {

class IHotKeyService {
public:
    virtual ~IHotKeyService() = default;
    // True when the combination is now the window's. `mask`: 1 Alt, 2 Ctrl, 4 Shift, 8 Windows;
    // `virtualKey` 0 is "no key", which holds nothing and is never refused.
    virtual bool registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) = 0;
    virtual void unregisterHotKey(WindowHandle hWnd, int id) = 0;
    // Why no combination can be registered here at all (no X11 connection), or "" when they can.
    virtual QString unavailableReason() const = 0;

    // Where the desktop answers later (its portal may ask the user), a registration that returned
    // true can still be refused: `handler` gets the reason and what to do instead.
    using RefusalHandler = std::function<void(const QString& reason)>;
    virtual void setLateRefusalHandler(RefusalHandler handler) { (void)handler; }
    // Whether the desktop, not the program, decides the key (Wayland): the program only proposes
    // it, and the user changes it in the desktop's settings.
    virtual bool desktopOwnsKeys() const { return false; }
    // The key as the desktop reports it ("" while it has not said).
    virtual QString desktopTrigger() const { return QString(); }
    // Whether the desktop can show its own dialog for the program's shortcuts, and showing it.
    virtual bool canOpenDesktopSettings() const { return false; }
    virtual void openDesktopSettings() {}
};

// The service the program uses: the desktop portal on Wayland, X11 key grabs on the root window
// elsewhere. Tests install their own and get the previous one back.
IHotKeyService& hotKeyService();
IHotKeyService* setHotKeyService(IHotKeyService* service);

} // namespace desktop
