#include "TextCodec.h"

#include "FileRead.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace platform {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isValidUtf8(QByteArrayView bytes) {
    Utf8Check check;
    check.feed(bytes);
    return check.valid();
}

// The character whose CP932 bytes Windows writes for `c`, or `c` itself.
char16_t bestFit(char16_t c) {
    switch (c) {
    case 0x301C: // WAVE DASH -> FULLWIDTH TILDE, 0x8160
        return 0xFF5E;
    case 0x2212: // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS, 0x817C
        return 0xFF0D;
    case 0x2016: // DOUBLE VERTICAL LINE -> PARALLEL TO, 0x8161
        return 0x2225;
    case 0x2014: // EM DASH -> HORIZONTAL BAR, 0x815C
        return 0x2015;
    case 0x00A2: // CENT SIGN -> FULLWIDTH CENT SIGN, 0x8191
        return 0xFFE0;
    case 0x00A3: // POUND SIGN -> FULLWIDTH POUND SIGN, 0x8192
        return 0xFFE1;
    case 0x00AC: // NOT SIGN -> FULLWIDTH NOT SIGN, 0x81CA
        return 0xFFE2;
    default:
        return c;
    }
}

QString withBestFit(QStringView text, bool yenIsBackslash) {
    QString out = text.toString();
    for (QChar& c : out) {
        if (yenIsBackslash && c.unicode() == 0x00A5)
            c = QLatin1Char('\\');
        else
            c = QChar(bestFit(c.unicode()));
    }
    return out;
}

bool needsBestFit(QStringView text, bool yenIsBackslash) {
    for (QChar c : text)
        if (bestFit(c.unicode()) != c.unicode() || (yenIsBackslash && c.unicode() == 0x00A5))
            return true;
    return false;
}

QByteArray encodeAnsi(QStringView text, bool yenIsBackslash, bool* lossless) {
    if (lossless)
        *lossless = true;
    if (needsBestFit(text, yenIsBackslash))
        return encodeAnsi(withBestFit(text, yenIsBackslash), false, lossless);
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder("CP932", QStringEncoder::Flag::Stateless);
    if (!encoder.isValid()) {
        if (lossless)
            *lossless = false;
        return text.toLatin1();
    }
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;
    if (lossless)
        *lossless = false;
    // Slow path only for text the code page cannot hold: each missing UTF-16 unit becomes "?",
    // as the platform's own conversion writes it (ICU would write its own substitute bytes).
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringEncoder one("CP932", QStringEncoder::Flag::Stateless);
        const QByteArray piece = one.encode(text.mid(i, len));
        if (one.hasError())
            bytes.append(len, '?');
        else
            bytes.append(piece);
        i += len;
    }
    return bytes;
}

} // namespace

void Utf8Check::feed(QByteArrayView bytes) {
    for (const char ch : bytes) {
        if (!m_valid)
            return;
        const auto c = static_cast<unsigned char>(ch);
        if (m_pending > 0) {
            if (c < m_low || c > m_high) {
                m_valid = false;
                return;
            }
            --m_pending;
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        if (c < 0x80)
            continue;
        m_beyondAscii = true;
        if (c >= 0xC2 && c <= 0xDF) {
            m_pending = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            m_pending = 2;
            if (c == 0xE0)
                m_low = 0xA0; // no overlong forms
            else if (c == 0xED)
                m_high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            m_pending = 3;
            if (c == 0xF0)
                m_low = 0x90;
            else if (c == 0xF4)
                m_high = 0x8F; // nothing beyond U+10FFFF
        } else {
            m_valid = false;
        }
    }
}

DecodedText decodeText(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(bytes.sliced(3));
        return {std::move(text), TextEncoding::Utf8Bom, !decoder.hasError()};
    }
    // ASCII reads the same in the code page; skipping its converter keeps its tables out of memory.
    if (isAscii(bytes))
        return {QString::fromLatin1(bytes), TextEncoding::Cp932, true};
    if (isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), TextEncoding::Utf8, true};
    QStringDecoder decoder("CP932", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return {QString::fromLatin1(bytes), TextEncoding::Cp932, isAscii(bytes)};
    QString text = decoder.decode(bytes);
    // Valid CP932 reads back byte for byte; anything else was not really CP932.
    const bool exact = !decoder.hasError() && toAnsi(text) == bytes;
    return {std::move(text), TextEncoding::Cp932, exact};
}

std::optional<QByteArray> encodeTextExactly(QStringView text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray(kUtf8Bom, 3) + text.toUtf8();
    case TextEncoding::Cp932:
        break;
    }
    bool lossless = true;
    QByteArray bytes = toAnsi(text, &lossless);
    if (!lossless)
        return std::nullopt;
    return bytes;
}

QByteArray toAnsi(QStringView text, bool* lossless) {
    return encodeAnsi(text, false, lossless);
}

QByteArray toAnsiForUrl(QStringView text, bool* lossless) {
    return encodeAnsi(text, true, lossless);
}

QString fromAnsi(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder("CP932", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

std::optional<DecodedText> readTextFile(const QString& path) {
    const FileBytes file = readWholeFile(path);
    if (!file.ok())
        return std::nullopt;
    return decodeText(file.bytes);
}

} // namespace platform
