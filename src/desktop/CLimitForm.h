#pragma once

#include "WindowMessages.h"

#include <QObject>
#include <QPointer>

class QWidget;

// Keeps a window between a minimum and a maximum size (pixels, frame included) while the user
// resizes it: it answers the window's msg::GetMinMaxInfo, and the window hands the answer to the
// window manager. Changing a limit applies it at once.
class CLimitForm : public QObject, public desktop::IWindowHook {
    Q_OBJECT

public:
    explicit CLimitForm(QObject* parent = nullptr);
    ~CLimitForm() override;

    int MaxWidth() const { return m_maxWidth; }
    void setMaxWidth(int width); // below 1: the screen width
    int MaxHeight() const { return m_maxHeight; }
    void setMaxHeight(int height); // below 1: the screen height
    int MinWidth() const { return m_minWidth; }
    void setMinWidth(int width); // below 1: 0
    int MinHeight() const { return m_minHeight; }
    void setMinHeight(int height); // below 1: 0

    // All four at once, applied once: no passing state between the old and the new limits.
    void setLimits(int minWidth, int maxWidth, int minHeight, int maxHeight);

    // Hooks the window; false (nothing changed) when it is the window already limited.
    bool Initialize(QWidget* window);

    desktop::WindowHandle hWnd() const override;
    std::intptr_t WindowProc(desktop::WindowHandle hWnd, int iMsg, std::intptr_t wParam,
                             std::intptr_t lParam) override;

    // The screen size in pixels, the default of the maximum.
    static int screenWidth();
    static int screenHeight();

private:
    void apply();
    void store(int minWidth, int maxWidth, int minHeight, int maxHeight);

    QPointer<QWidget> m_window;
    desktop::WindowHandle m_hWnd = nullptr;
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth;
    int m_maxHeight;
};

namespace desktop {
// Asks the window for its limits (msg::GetMinMaxInfo through its procedure) and gives them to the
// window manager as the window's minimum and maximum size.
void applySizeLimits(QWidget* window);
} // namespace desktop
