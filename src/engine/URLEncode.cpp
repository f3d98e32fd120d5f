#include "engine/CommandExpander.h"

#include "platform/TextCodec.h"

namespace engine {

namespace {

// Shift_JIS bytes of the text. A character the code page lacks goes as a numeric character
// reference ("&#54620;"), as a browser sends it to a Shift_JIS page, never as "?".
QByteArray shiftJisBytes(const QString& text) {
    bool lossless = true;
    QByteArray bytes = platform::toAnsiForUrl(text, &lossless);
    if (lossless)
        return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QStringView character = QStringView(text).mid(i, pair ? 2 : 1);
        bool fits = true;
        const QByteArray encoded = platform::toAnsiForUrl(character, &fits);
        if (fits)
            bytes += encoded;
        else
            bytes += "&#" + QByteArray::number(character.toUcs4().value(0)) + ';';
        i += character.size();
    }
    return bytes;
}

} // namespace

QString URLEncode(const QString& text, UrlCodePage codePage) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const QByteArray bytes =
        codePage == UrlCodePage::ShiftJis ? shiftJisBytes(text) : text.toUtf8();
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const bool plain =
            (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (plain) {
            out += QLatin1Char(static_cast<char>(b));
        } else {
            out += QLatin1Char('%');
            out += QLatin1Char(hex[b >> 4]);
            out += QLatin1Char(hex[b & 0xF]);
        }
    }
    return out;
}

} // namespace engine
