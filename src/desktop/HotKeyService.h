#pragma once

#include "WindowMessages.h"

#include <QString>

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
};

// The service the program uses: X11 key grabs on the root window. Tests install their own and
// get the previous one back.
IHotKeyService& hotKeyService();
IHotKeyService* setHotKeyService(IHotKeyService* service);

} // namespace desktop
