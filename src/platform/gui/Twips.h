#pragma once

class QWidget;

// Window geometry and the dialogs' design sizes are in twips (1440 to the inch), converted with
// the logical DPI of the screen the widget is on.
namespace platform {

int twipsToPixelsX(const QWidget* widget, int twips);
int twipsToPixelsY(const QWidget* widget, int twips);
int pixelsToTwipsX(const QWidget* widget, int pixels);
int pixelsToTwipsY(const QWidget* widget, int pixels);

} // namespace platform
