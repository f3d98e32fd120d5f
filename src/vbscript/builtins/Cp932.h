#pragma once

// Character codes of Windows code page 932, the code page Asc and Chr speak on the systems the
// program is made for: single bytes for ASCII and half-width katakana, lead byte * 256 + trail
// byte for the double-byte characters.

#include <cstdint>
#include <optional>

namespace vbscript::lib {

// nullopt when the character has no code in the code page.
std::optional<std::uint16_t> cp932CodeOf(char16_t ch);
// nullopt when the code names no character (a lone lead byte, an unassigned pair).
std::optional<char16_t> charFromCp932(std::uint16_t code);

} // namespace vbscript::lib
