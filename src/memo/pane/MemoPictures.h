#pragma once

#include <QPixmap>

// The small pictures of the memo pane's buttons, drawn at run time so they follow the palette and
// the screen's scale.
namespace memopane {

QPixmap newMemoPicture(const QColor& ink, qreal devicePixelRatio);
QPixmap deleteMemoPicture(const QColor& ink, qreal devicePixelRatio);

} // namespace memopane
