#pragma once

#include "WindowMessages.h"

#include <vector>

// The hook registry (the module SubClass): any number of IWindowHook objects share the messages of one window. The
// window's procedure is replaced once by SubClassWindowProc, which hands each message to the hooks
// of that window in the order they were hooked, until one consumes it; a message nobody consumed
// reaches the window's earlier procedure.
namespace desktop {

// Registers a hook; the first hook of a window installs the shared procedure and keeps the
// window's own procedure in its PreWndProcAddress. Hooking an object twice changes nothing.
void HookWindow(IWindowHook* object);

// Removes a hook; the last hook of a window gives the window its own procedure back. Unhooking an
// object that is not hooked changes nothing.
void UnhookWindow(IWindowHook* object);

bool isHooked(const IWindowHook* object);
// The windows that carry the shared procedure, in the order they were hooked.
std::vector<WindowHandle> hookedWindows();

std::intptr_t SubClassWindowProc(WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                                 std::intptr_t lParam);

// A window's current procedure. A window nobody gave one answers every message with 0 and
// leaves it to the toolkit, which is how the program's own windows handle these messages.
WindowProcedure windowProcedure(WindowHandle hWnd);
void setWindowProcedure(WindowHandle hWnd, WindowProcedure procedure);

// Delivers a message to a window's current procedure and returns its answer.
std::intptr_t SendWindowMessage(WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                                std::intptr_t lParam);

} // namespace desktop
