#pragma once

#include <functional>

class QWidget;

namespace platform {

// Sends the requests queued for the window system now, so that it maps a window just shown while
// the program goes on with its start.
void flushWindowSystem();

// Runs `work` once, after the window system has shown `window` (its first expose), so that
// work which does not change the window does not delay its first appearance. Also runs after
// `fallbackMs` when no expose comes (a window manager that never maps it), and never after
// the window is gone.
void runAfterFirstExpose(QWidget* window, std::function<void()> work, int fallbackMs = 1000);

} // namespace platform
