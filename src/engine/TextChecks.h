#pragma once

#include <QString>

namespace engine {

class ITextControl;

// True when the text converts to a Boolean (True/False in any case, or a number), exactly as the
// settings store accepts it.
bool IsBoolText(const QString& text);
// True when the text converts to a 16-bit signed integer (overflow is false).
bool IsIntText(const QString& text);

// Selects the whole text of a text box or combo box; other controls are left alone.
void SelectAllText(ITextControl& control);

} // namespace engine
