#pragma once

#include <QWidget>

#include <optional>

// The coloured strip on the left edge of the main window: it shows whether the program is active,
// drags the window, opens the window menu and hides the window on a double click.
class TitleStrip : public QWidget {
    Q_OBJECT

public:
    explicit TitleStrip(QWidget* parent = nullptr);

    // Active or inactive caption colour of the palette.
    void setActiveLook(bool active);
    bool activeLook() const { return m_active; }
    QColor colour() const;

signals:
    // The left button went down and the pointer moved past the drag distance. A press alone
    // starts no move: a window manager handed a move after the button is already up keeps the
    // window on the pointer until the next click.
    void dragRequested(QPoint globalPosition);
    void released(Qt::MouseButton button, QPoint globalPosition);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_active = true;
    std::optional<QPoint> m_pressedAt; // global position of a left press that may become a drag
};
