#include "engine/CommandExpander.h"

#include "platform/TextCodec.h"

namespace engine {

QString URLEncode(const QString& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const QByteArray bytes = platform::toAnsiForUrl(text);
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
