#pragma once

#include <QWidget>

class QLineEdit;

namespace controls {

// A box in which the user presses a key combination instead of typing text. It shows the
// combination ("Ctrl + Alt + A") and holds it as the two numbers the global hotkey registers: a
// virtual-key code and a modifier mask (1 Alt, 2 Ctrl, 4 Shift, 8 Windows, which is Super here).
class uHotKey : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int HotKey READ HotKey WRITE setHotKey)
    Q_PROPERTY(int Mask READ Mask WRITE setMask)
    Q_PROPERTY(QString Text READ Text)

public:
    enum MaskBits { kAlt = 1, kCtrl = 2, kShift = 4, kWindows = 8 };

    explicit uHotKey(QWidget* parent = nullptr);

    int HotKey() const { return m_hotKey; }
    // A code without a name shows "(なし)" and leaves the previous code in place.
    void setHotKey(int keyCode);
    int Mask() const { return m_mask; }
    // A mask of 0 shows "(なし)" even while a key is set.
    void setMask(int mask);
    QString Text() const;

    QLineEdit* textBox() const { return m_txtCode; }

    // "A", "7", "Num3", "F5", "←"; empty for codes the box does not name.
    static QString keyName(int keyCode);
    // "Ctrl + Shift + Alt + Windows + " in that order, for the bits set.
    static QString modifierText(int mask);

signals:
    // The shown text was updated.
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString nameAndStore(int keyCode);
    QString modifierTextAndStore(int mask);
    void showText(const QString& text);
    void keyDown(const class QKeyEvent& event);

    QLineEdit* m_txtCode = nullptr;
    int m_hotKey = 0;
    int m_mask = 0;
};

} // namespace controls
