#include "TitleStrip.h"

#include <QApplication>
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
        m_pressedAt = event->globalPosition().toPoint();
    event->accept();
}

void TitleStrip::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!m_pressedAt || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->globalPosition().toPoint();
    if ((now - *m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressedAt.reset();
    emit dragRequested(now);
}

void TitleStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_pressedAt.reset();
    emit released(event->button(), event->globalPosition().toPoint());
    event->accept();
}

void TitleStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    event->accept();
}
