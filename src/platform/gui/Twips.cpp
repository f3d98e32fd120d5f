#include "platform/gui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace platform {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* screenOf(const QWidget* widget) {
    QScreen* screen = widget ? widget->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

double dpiX(const QWidget* widget) {
    QScreen* screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget* widget) {
    QScreen* screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace

int twipsToPixelsX(const QWidget* widget, int twips) {
    return int(std::lround(twips * dpiX(widget) / kTwipsPerInch));
}
int twipsToPixelsY(const QWidget* widget, int twips) {
    return int(std::lround(twips * dpiY(widget) / kTwipsPerInch));
}
int pixelsToTwipsX(const QWidget* widget, int pixels) {
    return int(std::lround(pixels * kTwipsPerInch / dpiX(widget)));
}
int pixelsToTwipsY(const QWidget* widget, int pixels) {
    return int(std::lround(pixels * kTwipsPerInch / dpiY(widget)));
}

} // namespace platform
