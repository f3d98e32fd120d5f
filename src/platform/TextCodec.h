#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

// How a text file's bytes were (or are to be) encoded. Files are written back the way they were
// read; files the program creates are CP932, the program's code page.
enum class TextEncoding { Cp932, Utf8, Utf8Bom };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
    // False when the bytes were neither valid UTF-8 nor valid CP932 (a Latin-1 file, a damaged
    // one): writing the text back would not give the same bytes.
    bool exact = true;
};

// UTF-8 when the bytes are valid UTF-8 holding something beyond ASCII (a UTF-8 BOM is honoured and
// dropped), otherwise CP932. Pure ASCII counts as CP932 so that new text stays in the code page.
DecodedText decodeText(QByteArrayView bytes);

// Checks UTF-8 piece by piece without decoding it (a large file need not be held as text to learn
// its encoding): feed the bytes in any pieces, then ask. Overlong forms, surrogates and code points
// beyond U+10FFFF are invalid, as for the decoder.
class Utf8Check {
public:
    void feed(QByteArrayView bytes);
    bool valid() const { return m_valid && m_pending == 0; }
    bool beyondAscii() const { return m_beyondAscii; }

private:
    int m_pending = 0;          // continuation bytes still expected
    unsigned char m_low = 0x80; // range of the next continuation byte
    unsigned char m_high = 0xBF;
    bool m_valid = true;
    bool m_beyondAscii = false;
};
// The text in the encoding; nothing when the code page cannot hold every character of it. The
// caller then moves the file to UTF-8: a user's file never gets "?" for a character.
std::optional<QByteArray> encodeTextExactly(QStringView text, TextEncoding encoding);

// The program's code page (CP932) for byte-level work: prose test, byte counts, the script
// language's byte functions. The characters that Linux input methods and web text produce where
// Windows has its own code point (〜 − ‖ — ¢ £ ¬) take the bytes Windows gives them, so they
// read back in their CP932 forms (～ for 〜). Other characters CP932 lacks become "?" (one per
// UTF-16 unit), as the platform's own conversion does, and `lossless` (when given) turns false;
// bytes CP932 cannot decode become U+001A.
QByteArray toAnsi(QStringView text, bool* lossless = nullptr);
QString fromAnsi(QByteArrayView bytes);
// URL encoding's code page: as toAnsi, and ¥ (U+00A5) is 0x5C there, as on the original platform.
QByteArray toAnsiForUrl(QStringView text, bool* lossless = nullptr);

// Whole-file helper. readTextFile gives nullopt when the file is missing or unreadable.
std::optional<DecodedText> readTextFile(const QString& path);

} // namespace platform
