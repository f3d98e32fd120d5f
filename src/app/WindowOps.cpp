#include "WindowOps.h"

#include "platform/gui/WindowControl.h"

namespace app {

void SetTopMost(QWidget* window, bool on) {
    platform::setTopMost(window, on);
}

bool ForceForeground(QWidget* window) {
    return platform::forceForeground(window);
}

bool IsForeground(const QWidget* window) {
    return platform::isForeground(window);
}

void BeginWindowDrag(QWidget* window) {
    platform::beginWindowDrag(window);
}

void keepOffTaskbar(QWidget* window) {
    platform::keepOffTaskbar(window);
}

} // namespace app
