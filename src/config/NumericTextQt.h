#pragma once

#include "NumericText.h"

#include <QString>

#include <string_view>

namespace numtext {

// The numeric text rules take UTF-16 views; QString holds UTF-16 already.
inline std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())};
}

} // namespace numtext
