#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;

namespace script {

// What a script's InputBox asks for. Positions are in twips from the screen's top-left corner;
// without one the box is centred horizontally and placed a third of the way down.
struct InputBoxRequest {
    QString prompt;
    QString title;
    QString defaultText;
    std::optional<int> xTwips;
    std::optional<int> yTwips;
};

// A small modal box with the prompt, one line of text (the default, selected) and OK / Cancel.
class InputBoxDialog : public QDialog {
    Q_OBJECT
public:
    explicit InputBoxDialog(const InputBoxRequest& request, QWidget* parent = nullptr);

    QString text() const;
    QLineEdit* lineEdit() const { return m_edit; }
    QLabel* promptLabel() const { return m_prompt; }

    // Where the box goes for the request on the screen `available` (pixels, with the screen's
    // logical dots per inch), clamped so that the whole box stays visible.
    static QPoint placement(const InputBoxRequest& request, const QSize& boxSize,
                            const QRect& available, double dpiX, double dpiY);

private:
    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
};

// Shows the box modally over the program's active window; nullopt when the user cancelled.
std::optional<QString> runInputBoxDialog(const InputBoxRequest& request);

} // namespace script
