#pragma once

#include <cstdint>
#include <functional>

class QObject;

// The messages the desktop objects exchange with the main window, numbered as the program has
// always numbered them, and the contract of an object that wants to see a window's messages.
namespace desktop {

// The window a message is for. Only its identity matters.
using WindowHandle = QObject*;

namespace msg {
constexpr int ActivateApp = 28;    // wParam 1: the program gained the foreground, 0: lost it
constexpr int GetMinMaxInfo = 36;  // lParam: a MinMaxInfo the handlers fill in
constexpr int HotKey = 786;        // wParam and lParam: the combination id
constexpr int TrayCallback = 1025; // lParam: the mouse message over the tray icon
} // namespace msg

// Mouse messages the tray icon reports in the lParam of msg::TrayCallback.
namespace mouse {
constexpr int Move = 512;
constexpr int LeftDown = 513;
constexpr int LeftUp = 514;
constexpr int LeftDoubleClick = 515;
constexpr int RightDown = 516;
constexpr int RightUp = 517;
constexpr int RightDoubleClick = 518;
constexpr int MiddleDown = 519;
constexpr int MiddleUp = 520;
constexpr int MiddleDoubleClick = 521;
} // namespace mouse

struct Size {
    int width = 0;
    int height = 0;
};

// The record behind lParam of msg::GetMinMaxInfo: what the window allows while the user resizes.
struct MinMaxInfo {
    Size maxSize;
    Size maxPosition;
    Size minTrackSize;
    Size maxTrackSize;
};

// Results of a window procedure: PassOn gives the message to the window's earlier procedure;
// Consumed (and any other value but PassOn) ends it there.
constexpr std::intptr_t PassOn = -1;
constexpr std::intptr_t Consumed = 0;

using WindowProcedure = std::function<std::intptr_t(WindowHandle, int iMsg, std::intptr_t wParam,
                                                    std::intptr_t lParam)>;

// An object that sees the messages of one window through the hook registry (HookRegistry.h).
class IWindowHook {
public:
    virtual ~IWindowHook() = default;
    virtual WindowHandle hWnd() const = 0;
    // PassOn lets the message go on; Consumed or any other value is the message's answer.
    virtual std::intptr_t WindowProc(WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                                     std::intptr_t lParam) = 0;

    // The window's procedure from before the window was hooked; held by one hook of the window
    // at a time (the others hold an empty procedure).
    WindowProcedure PreWndProcAddress;
};

} // namespace desktop
