#pragma once

#include <QPixmap>
#include <QWidget>

namespace controls {

// A flat push button: no border at rest, raised while the pointer is over it, sunken while it is
// pressed. It shows a picture, a caption below it, or both.
class uHoverButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)

public:
    enum VisualState { Flat = 0, Raised = 1, Sunken = 2 };

    explicit uHoverButton(QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);

    // The state the next paint draws; a disabled button always draws flat.
    VisualState visualState() const;

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setState(VisualState state);
    bool isInside(const QPointF& point) const;

    QString m_caption;
    QPixmap m_picture;
    VisualState m_state = Flat;
    bool m_pressed = false; // the left button went down on this button and is still held
    bool m_secondPressOfDoubleClick = false; // the press that is held ends no click
};

} // namespace controls
