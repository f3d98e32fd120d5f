#include "uHoverButton.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace controls {

uHoverButton::uHoverButton(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

void uHoverButton::setCaption(const QString& caption) {
    m_caption = caption;
    updateGeometry();
    update();
}

void uHoverButton::setPicture(const QPixmap& picture) {
    m_picture = picture;
    updateGeometry();
    update();
}

uHoverButton::VisualState uHoverButton::visualState() const {
    return isEnabled() ? m_state : Flat;
}

QSize uHoverButton::sizeHint() const {
    const QFontMetrics metrics(font());
    int width = 4, height = 4;
    if (!m_picture.isNull()) {
        const QSize picture = m_picture.deviceIndependentSize().toSize();
        width = qMax(width, picture.width() + 4);
        height += picture.height();
    }
    if (!m_caption.isEmpty()) {
        width = qMax(width, metrics.horizontalAdvance(m_caption) + 6);
        height += metrics.height() + (m_picture.isNull() ? 0 : 2);
    }
    return {width, height};
}

void uHoverButton::setState(VisualState state) {
    if (m_state == state)
        return;
    m_state = state;
    update();
}

// The pointer counts as inside on the far edges too, and not on the top edge, as the native
// button hit test does.
bool uHoverButton::isInside(const QPointF& point) const {
    return point.x() >= 0 && point.x() <= width() && point.y() > 0 && point.y() <= height();
}

void uHoverButton::enterEvent(QEnterEvent* event) {
    if (!m_pressed)
        setState(Raised);
    QWidget::enterEvent(event);
}

void uHoverButton::leaveEvent(QEvent* event) {
    // While the left button is held the implicit grab keeps the moves coming; the move handler
    // decides then. Without a button, leaving ends the hover.
    if (!m_pressed)
        setState(Flat);
    QWidget::leaveEvent(event);
}

void uHoverButton::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = isInside(event->position());
    if (m_pressed)
        setState(inside ? Sunken : Raised);
    else
        setState(inside ? Raised : Flat);
    QWidget::mouseMoveEvent(event);
}

void uHoverButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_secondPressOfDoubleClick = false;
        setState(Sunken);
    }
    event->accept();
}

void uHoverButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click shows pressed but is no second click: a double click
    // acts once, as on the native controls.
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_secondPressOfDoubleClick = true;
        setState(Sunken);
    }
    event->accept();
}

void uHoverButton::mouseReleaseEvent(QMouseEvent* event) {
    // Flat until the pointer moves again, like the native flat buttons.
    const bool wasPressed = m_pressed && event->button() == Qt::LeftButton;
    const bool clicks = wasPressed && !m_secondPressOfDoubleClick;
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        m_secondPressOfDoubleClick = false;
    }
    setState(Flat);
    // A click is a release anywhere on the button, its top row included; isInside is the
    // drawing rule of the pressed look only.
    if (clicks && rect().contains(event->position().toPoint()))
        emit Click();
    event->accept();
}

void uHoverButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::PaletteChange) {
        if (!isEnabled()) {
            m_state = Flat;
            m_pressed = false;
            m_secondPressOfDoubleClick = false;
        }
        update();
    }
    QWidget::changeEvent(event);
}

void uHoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const VisualState state = visualState();
    const int w = width(), h = height();
    const int shift = state == Sunken ? 1 : 0;

    if (state != Flat) {
        const QColor topLeft =
            state == Sunken ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
        const QColor bottomRight =
            state == Sunken ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
        painter.setPen(topLeft);
        painter.drawLine(0, 0, w - 1, 0);
        painter.drawLine(0, 0, 0, h - 1);
        painter.setPen(bottomRight);
        painter.drawLine(w - 1, 0, w - 1, h - 1);
        painter.drawLine(0, h - 1, w - 1, h - 1);
    }

    const QFontMetrics metrics(font());
    const int textHeight = metrics.height();
    int pictureTop = 0;
    int pictureHeight = 0;
    if (!m_picture.isNull()) {
        const QSize picture = m_picture.deviceIndependentSize().toSize();
        pictureHeight = picture.height();
        int x = (w - picture.width()) / 2;
        int y = (h - picture.height()) / 2;
        if (!m_caption.isEmpty())
            y -= (textHeight + 2) / 2;
        pictureTop = y;
        painter.drawPixmap(x + shift, y + shift, m_picture);
    }

    if (m_caption.isEmpty())
        return;
    int x = (w - metrics.horizontalAdvance(m_caption)) / 2;
    int y = (h - textHeight) / 2;
    if (!m_picture.isNull() && pictureTop > 0)
        y = pictureTop + pictureHeight + 2;
    x += shift;
    y += shift;
    const QRect textRect(x, y, metrics.horizontalAdvance(m_caption), textHeight);
    if (isEnabled()) {
        painter.setPen(pal.color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, m_caption);
    } else {
        painter.setPen(pal.color(QPalette::Light));
        painter.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignTop, m_caption);
        painter.setPen(pal.color(QPalette::Disabled, QPalette::Text));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, m_caption);
    }
}

} // namespace controls
