#pragma once

// Which characters beyond ASCII may stand in a name: letters of every script (so that a
// Japanese function name works), combining marks, digits and connector punctuation. Symbols and
// punctuation (。、「」★→※・…) are not, and stop a name with the invalid-character error.

namespace vbscript {

// A letter (or mark) from U+0080 up in the Basic Multilingual Plane that may begin a name.
bool isNameStartBeyondAscii(char16_t c);
// Any character from U+0080 up in the Basic Multilingual Plane that may continue a name.
bool isNameCharBeyondAscii(char16_t c);
// A character beyond U+FFFF (given as its code point) that may begin or continue a name.
bool isNameCodePointBeyondBmp(char32_t c);

} // namespace vbscript
