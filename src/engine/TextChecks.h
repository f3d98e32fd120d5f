#pragma once

#include <QString>

namespace engine {

// A text control as SelectAllText sees it. The input line (cmbMemo) is one.
class ITextControl {
public:
    virtual ~ITextControl() = default;
    // "TextBox" or "ComboBox" for controls that hold editable text; anything else otherwise.
    virtual QString typeName() const = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setSelection(int start, int length) = 0;
};

// True when the text converts to a Boolean (True/False in any case, or a number), exactly as the
// settings store accepts it.
bool IsBoolText(const QString& text);
// True when the text converts to a 16-bit signed integer (overflow is false).
bool IsIntText(const QString& text);

// Selects the whole text of a text box or combo box; other controls are left alone.
void SelectAllText(ITextControl& control);

} // namespace engine
