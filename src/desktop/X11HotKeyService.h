#pragma once

#include "HotKeyService.h"

#include <memory>

namespace desktop {

// Hotkeys as passive key grabs on the root window: one grab for every combination of the lock
// modifiers, so Caps Lock or Num Lock being on does not disable the hotkey. A grab another client
// holds (BadAccess) refuses the whole combination. The grabs are made again when the keyboard
// mapping changes. Without an X11 connection every registration is refused.
class X11HotKeyService : public IHotKeyService {
public:
    X11HotKeyService();
    ~X11HotKeyService() override;

    bool registerHotKey(WindowHandle hWnd, int id, int mask, int virtualKey) override;
    void unregisterHotKey(WindowHandle hWnd, int id) override;
    QString unavailableReason() const override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace desktop
