#pragma once

#include <QWidget>

// Design sizes of the dialog are in twips (1440 per inch), converted with the screen's dpi.
inline int dialogTwipsToPixels(const QWidget* widget, int twips) {
    return (twips * widget->logicalDpiX() + 720) / 1440;
}
