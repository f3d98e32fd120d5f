#include "CLimitForm.h"

#include "HookRegistry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}
} // namespace

CLimitForm::CLimitForm(QObject* parent)
    : QObject(parent), m_maxWidth(screenWidth()), m_maxHeight(screenHeight()) {}

CLimitForm::~CLimitForm() {
    desktop::UnhookWindow(this);
}

int CLimitForm::screenWidth() {
    return screenSize().width();
}

int CLimitForm::screenHeight() {
    return screenSize().height();
}

void CLimitForm::setMaxWidth(int width) {
    store(m_minWidth, width, m_minHeight, m_maxHeight);
}

void CLimitForm::setMaxHeight(int height) {
    store(m_minWidth, m_maxWidth, m_minHeight, height);
}

void CLimitForm::setMinWidth(int width) {
    store(width, m_maxWidth, m_minHeight, m_maxHeight);
}

void CLimitForm::setMinHeight(int height) {
    store(m_minWidth, m_maxWidth, height, m_maxHeight);
}

void CLimitForm::setLimits(int minWidth, int maxWidth, int minHeight, int maxHeight) {
    store(minWidth, maxWidth, minHeight, maxHeight);
}

void CLimitForm::store(int minWidth, int maxWidth, int minHeight, int maxHeight) {
    m_minWidth = minWidth < 1 ? 0 : minWidth;
    m_minHeight = minHeight < 1 ? 0 : minHeight;
    m_maxWidth = maxWidth < 1 ? screenWidth() : maxWidth;
    m_maxHeight = maxHeight < 1 ? screenHeight() : maxHeight;
    apply();
}

bool CLimitForm::Initialize(QWidget* window) {
    if (window == m_hWnd)
        return false;
    desktop::UnhookWindow(this);
    m_window = window;
    m_hWnd = window;
    desktop::HookWindow(this);
    apply();
    return true;
}

desktop::WindowHandle CLimitForm::hWnd() const {
    return m_hWnd;
}

std::intptr_t CLimitForm::WindowProc(desktop::WindowHandle, int iMsg, std::intptr_t,
                                     std::intptr_t lParam) {
    if (iMsg != desktop::msg::GetMinMaxInfo)
        return desktop::PassOn;
    auto* info = reinterpret_cast<desktop::MinMaxInfo*>(lParam);
    info->minTrackSize = {m_minWidth, m_minHeight};
    info->maxTrackSize = {m_maxWidth, m_maxHeight};
    return desktop::Consumed;
}

void CLimitForm::apply() {
    if (m_window)
        desktop::applySizeLimits(m_window);
}

namespace desktop {

void applySizeLimits(QWidget* window) {
    if (!window)
        return;
    MinMaxInfo info;
    info.maxSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    info.minTrackSize = {0, 0};
    info.maxTrackSize = {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    SendWindowMessage(window, msg::GetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
    // The limits count the frame; Qt's are of the inner area.
    const QSize frame = window->frameGeometry().size() - window->size();
    const auto inner = [](int outer, int frameSize) {
        return outer >= QWIDGETSIZE_MAX ? QWIDGETSIZE_MAX : qMax(0, outer - frameSize);
    };
    const int minWidth = inner(info.minTrackSize.width, frame.width());
    const int minHeight = inner(info.minTrackSize.height, frame.height());
    window->setMinimumSize(minWidth, minHeight);
    window->setMaximumSize(qMax(minWidth, inner(info.maxTrackSize.width, frame.width())),
                           qMax(minHeight, inner(info.maxTrackSize.height, frame.height())));
}

} // namespace desktop
