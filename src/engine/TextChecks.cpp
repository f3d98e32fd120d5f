#include "engine/TextChecks.h"

#include "config/NumericText.h"
#include "engine/DispatcherPorts.h"

namespace engine {

namespace {

std::u16string_view asView(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

} // namespace

bool IsBoolText(const QString& text) {
    return numtext::isBool(asView(text));
}

bool IsIntText(const QString& text) {
    return numtext::isInt(asView(text));
}

void SelectAllText(ITextControl& control) {
    const QString type = control.typeName();
    if (type == QLatin1String("TextBox") || type == QLatin1String("ComboBox"))
        control.setSelection(0, static_cast<int>(control.text().size()));
}

} // namespace engine
