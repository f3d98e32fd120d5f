#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace controls {

// A number box with up and down arrows. The arrows and the Up and Down keys step the value
// within Min to Max; typing is limited to digits and "-", and text that is not a number in range
// is put back as the user types it.
class uSpinButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(bool Locked READ Locked WRITE setLocked)

public:
    explicit uSpinButton(QWidget* parent = nullptr);

    int Value() const { return m_value; }
    // Outside Min to Max nothing happens.
    void setValue(int value);
    int Max() const { return m_max; }
    void setMax(int max) { m_max = max; } // the value is not touched
    int Min() const { return m_min; }
    void setMin(int min) { m_min = min; }
    bool Locked() const;
    void setLocked(bool locked);

    QLineEdit* textBox() const { return m_text; }
    QToolButton* upArrow() const { return m_up; }
    QToolButton* downArrow() const { return m_down; }

signals:
    // An arrow was clicked (even at a bound, where the value stays).
    void Change();
    // A character is about to be typed; the handler may change or clear (0) the code.
    void KeyPress(int& keyAscii);
    // The user's typing or Up/Down keys changed the value. Neither raises Change; owners that
    // must notice every edit (the settings dialog's Apply) listen here too.
    void valueEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void arrowMoved(int position);
    void textChanged();
    void selectAll();
    void putTextBack(int caret);

    QLineEdit* m_text = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_value = 0;
    int m_max = 50;
    int m_min = 0;
    bool m_busy = false;
};

} // namespace controls
