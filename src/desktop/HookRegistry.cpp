#include "HookRegistry.h"

#include <algorithm>
#include <unordered_map>

namespace desktop {

namespace {

// Process-wide, in the order of registration.
struct Registry {
    std::vector<IWindowHook*> objects;
    std::vector<WindowHandle> windows;
    std::unordered_map<WindowHandle, WindowProcedure> procedures;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

bool contains(const std::vector<WindowHandle>& windows, WindowHandle hWnd) {
    return std::find(windows.begin(), windows.end(), hWnd) != windows.end();
}

} // namespace

bool isHooked(const IWindowHook* object) {
    const auto& objects = registry().objects;
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

std::vector<WindowHandle> hookedWindows() {
    return registry().windows;
}

void HookWindow(IWindowHook* object) {
    if (!object || isHooked(object))
        return;
    Registry& r = registry();
    r.objects.push_back(object);
    const WindowHandle hWnd = object->hWnd();
    if (contains(r.windows, hWnd))
        return;
    r.windows.push_back(hWnd);
    object->PreWndProcAddress = windowProcedure(hWnd);
    setWindowProcedure(hWnd, &SubClassWindowProc);
}

void UnhookWindow(IWindowHook* object) {
    Registry& r = registry();
    const auto it = std::find(r.objects.begin(), r.objects.end(), object);
    if (it == r.objects.end())
        return;
    r.objects.erase(it);
    const WindowHandle hWnd = object->hWnd();
    for (IWindowHook* other : r.objects) {
        if (other->hWnd() != hWnd)
            continue;
        // The window stays hooked; the earlier procedure moves to the next hook of the window.
        if (object->PreWndProcAddress)
            other->PreWndProcAddress = std::move(object->PreWndProcAddress);
        object->PreWndProcAddress = nullptr;
        return;
    }
    setWindowProcedure(hWnd, std::move(object->PreWndProcAddress));
    object->PreWndProcAddress = nullptr;
    r.windows.erase(std::remove(r.windows.begin(), r.windows.end(), hWnd), r.windows.end());
}

std::intptr_t SubClassWindowProc(WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                                 std::intptr_t lParam) {
    std::intptr_t result = Consumed;
    WindowProcedure previous;
    // A hook may hook or unhook objects while it handles a message (the tray icon adds itself
    // again): walk a copy, and skip objects unhooked meanwhile.
    const std::vector<IWindowHook*> objects = registry().objects;
    for (IWindowHook* object : objects) {
        if (!isHooked(object) || object->hWnd() != hWnd)
            continue;
        result = object->WindowProc(hWnd, iMsg, wParam, lParam);
        if (object->PreWndProcAddress)
            previous = object->PreWndProcAddress;
        if (result == Consumed)
            break;
    }
    if (result == PassOn)
        return previous ? previous(hWnd, iMsg, wParam, lParam) : Consumed;
    return result;
}

WindowProcedure windowProcedure(WindowHandle hWnd) {
    const auto& procedures = registry().procedures;
    if (const auto it = procedures.find(hWnd); it != procedures.end())
        return it->second;
    return
        [](WindowHandle, int, std::intptr_t, std::intptr_t) -> std::intptr_t { return Consumed; };
}

void setWindowProcedure(WindowHandle hWnd, WindowProcedure procedure) {
    if (procedure)
        registry().procedures[hWnd] = std::move(procedure);
    else
        registry().procedures.erase(hWnd);
}

std::intptr_t SendWindowMessage(WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                                std::intptr_t lParam) {
    return windowProcedure(hWnd)(hWnd, iMsg, wParam, lParam);
}

} // namespace desktop
