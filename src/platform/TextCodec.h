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
};

// UTF-8 when the bytes are valid UTF-8 holding something beyond ASCII (a UTF-8 BOM is honoured and
// dropped), otherwise CP932. Pure ASCII counts as CP932 so that new text stays in the code page.
DecodedText decodeText(QByteArrayView bytes);
QByteArray encodeText(QStringView text, TextEncoding encoding);

// The program's code page (CP932) for byte-level work: prose test, URL encoding, byte counts.
// Characters CP932 lacks become "?" (one per UTF-16 unit), as the platform's own conversion does;
// bytes CP932 cannot decode become U+001A.
QByteArray toAnsi(QStringView text);
QString fromAnsi(QByteArrayView bytes);

// Whole-file helpers. readTextFile gives nullopt when the file is missing or unreadable.
std::optional<DecodedText> readTextFile(const QString& path);

} // namespace platform
