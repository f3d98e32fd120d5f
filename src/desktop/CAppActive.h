#pragma once

#include "WindowMessages.h"

#include <QObject>

// Tells when the program gains or loses the foreground, from the window's msg::ActivateApp.
class CAppActive : public QObject, public desktop::IWindowHook {
    Q_OBJECT

public:
    explicit CAppActive(QObject* parent = nullptr);
    ~CAppActive() override;

    // Hooks the window (once, whatever was hooked before).
    void StartSubClass(desktop::WindowHandle hWnd);

    desktop::WindowHandle hWnd() const override { return m_hWnd; }
    std::intptr_t WindowProc(desktop::WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                             std::intptr_t lParam) override;

signals:
    void Activate();
    void Deactivate();

private:
    desktop::WindowHandle m_hWnd = nullptr;
};

namespace desktop {
// From now on every hooked window gets msg::ActivateApp when the program gains or loses the
// foreground. Idempotent.
void watchApplicationActivation();
} // namespace desktop
