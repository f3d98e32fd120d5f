#pragma once

#include <QWidget>

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
    void dragRequested(QPoint globalPosition);
    void released(Qt::MouseButton button, QPoint globalPosition);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_active = true;
};
