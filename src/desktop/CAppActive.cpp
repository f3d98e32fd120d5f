#include "CAppActive.h"

#include "HookRegistry.h"

#include <QGuiApplication>

CAppActive::CAppActive(QObject* parent) : QObject(parent) {}

CAppActive::~CAppActive() {
    desktop::UnhookWindow(this);
}

void CAppActive::StartSubClass(desktop::WindowHandle hWnd) {
    desktop::UnhookWindow(this);
    m_hWnd = hWnd;
    desktop::HookWindow(this);
    desktop::watchApplicationActivation();
}

std::intptr_t CAppActive::WindowProc(desktop::WindowHandle, int iMsg, std::intptr_t wParam,
                                     std::intptr_t) {
    if (iMsg != desktop::msg::ActivateApp)
        return desktop::PassOn;
    if (wParam == 1)
        emit Activate();
    else
        emit Deactivate();
    return desktop::Consumed;
}

namespace desktop {

void watchApplicationActivation() {
    static bool watching = false;
    if (watching || !qGuiApp)
        return;
    watching = true;
    // The program's state, not a window's: moving between the program's own windows (a box over
    // the bar) is no change.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, qGuiApp,
                     [](Qt::ApplicationState state) {
                         static bool active = false;
                         const bool nowActive = state == Qt::ApplicationActive;
                         if (nowActive == active)
                             return;
                         active = nowActive;
                         for (const WindowHandle window : hookedWindows())
                             SendWindowMessage(window, msg::ActivateApp, nowActive ? 1 : 0, 0);
                     });
}

} // namespace desktop
