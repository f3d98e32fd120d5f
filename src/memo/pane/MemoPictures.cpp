#include "MemoPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace memopane {

namespace {

constexpr int kSize = 12;

QPixmap blankPicture(qreal ratio) {
    QPixmap picture(QSize(kSize, kSize) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

// A sheet with a folded corner and a plus sign.
QPixmap newMemoPicture(const QColor& ink, qreal devicePixelRatio) {
    QPixmap picture = blankPicture(devicePixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1));
    QPainterPath sheet;
    sheet.moveTo(1.5, 0.5);
    sheet.lineTo(7.5, 0.5);
    sheet.lineTo(10.5, 3.5);
    sheet.lineTo(10.5, 11.5);
    sheet.lineTo(1.5, 11.5);
    sheet.closeSubpath();
    painter.fillPath(sheet, Qt::white);
    painter.drawPath(sheet);
    painter.drawLine(QPointF(7.5, 0.5), QPointF(7.5, 3.5));
    painter.drawLine(QPointF(7.5, 3.5), QPointF(10.5, 3.5));
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(QPointF(6, 5.5), QPointF(6, 10));
    painter.drawLine(QPointF(3.75, 7.75), QPointF(8.25, 7.75));
    return picture;
}

// A slanted cross.
QPixmap deleteMemoPicture(const QColor& ink, qreal devicePixelRatio) {
    QPixmap picture = blankPicture(devicePixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(2.5, 2.5), QPointF(9.5, 9.5));
    painter.drawLine(QPointF(9.5, 2.5), QPointF(2.5, 9.5));
    return picture;
}

} // namespace memopane
