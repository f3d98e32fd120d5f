#pragma once

class QWidget;

// Window geometry is stored in twips (1440 to the inch) and converted with the logical DPI of the
// screen the window is on.
namespace app {

int twipsToPixelsX(const QWidget* widget, int twips);
int twipsToPixelsY(const QWidget* widget, int twips);
int pixelsToTwipsX(const QWidget* widget, int pixels);
int pixelsToTwipsY(const QWidget* widget, int pixels);

} // namespace app
