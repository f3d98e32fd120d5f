#pragma once

#include "script/vba/VbaValue.h"

namespace script {

// Conversion codes; a call adds up several of them.
enum StrConvCode {
    vbUpperCase = 1,
    vbLowerCase = 2,
    vbProperCase = 3,
    vbWide = 4,
    vbNarrow = 8,
    vbKatakana = 16,
    vbHiragana = 32,
    vbUnicode = 64,
    vbFromUnicode = 128,
};

// The VBA StrConv function for a Japanese system: case, width (half-width katakana joined with
// their voiced marks on the way to full width and split on the way back), kana, and the byte
// conversions through the code page CP932. Opposite codes together (4+8, 16+32, 64+128) and
// unknown bits give error 5. The locale argument is accepted and ignored: the program's regional
// settings are Japan's.
VbaResult vbaStrConv(const QString& text, int conversion, int localeId = 0);

// The byte strings of vbFromUnicode and vbUnicode: two bytes to a character, low byte first, the
// way the language keeps bytes in a string; an odd last byte stands alone in a character whose
// high byte is zero.
QString packBytes(const QByteArray& bytes);
QByteArray unpackBytes(const QString& packed);

} // namespace script
