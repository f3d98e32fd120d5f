#pragma once

// Text helpers shared by the engine, its builtins and hosts: UTF-8 bridges and the
// case-insensitive name rules of the language.

#include <string>
#include <string_view>

namespace vbscript {

std::u16string fromUtf8(std::string_view text);
std::string toUtf8(std::u16string_view text);

// Case folding for names and keywords (ASCII and Latin-1 letters).
char16_t foldCase(char16_t c);
std::u16string foldCase(std::u16string_view text);
bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b);

} // namespace vbscript
