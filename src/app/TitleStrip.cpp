#include "TitleStrip.h"

#include <QMouseEvent>
#include <QPainter>

TitleStrip::TitleStrip(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::SizeAllCursor);
}

void TitleStrip::setActiveLook(bool active) {
    if (m_active == active)
        return;
    m_active = active;
    update();
}

QColor TitleStrip::colour() const {
    const QColor active = palette().color(QPalette::Active, QPalette::Highlight);
    if (m_active)
        return active;
    const QColor inactive = palette().color(QPalette::Inactive, QPalette::Highlight);
    // Many themes use one highlight colour for both groups; the strip must still show the change.
    return inactive != active ? inactive : palette().color(QPalette::Inactive, QPalette::Mid);
}

void TitleStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour());
}

void TitleStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit dragRequested(event->globalPosition().toPoint());
    event->accept();
}

void TitleStrip::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->button(), event->globalPosition().toPoint());
    event->accept();
}

void TitleStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}
