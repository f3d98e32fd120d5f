#include "TextCodec.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

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
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

DecodedText decodeText(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView(kUtf8Bom, 3))) {
        return {QString::fromUtf8(bytes.sliced(3)), TextEncoding::Utf8Bom};
    }
    if (!isAscii(bytes) && isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), TextEncoding::Utf8};
    return {fromAnsi(bytes), TextEncoding::Cp932};
}

QByteArray encodeText(QStringView text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8Bom:
        return QByteArray(kUtf8Bom, 3) + text.toUtf8();
    case TextEncoding::Cp932:
        break;
    }
    return toAnsi(text);
}

QByteArray toAnsi(QStringView text) {
    QStringEncoder encoder("CP932", QStringEncoder::Flag::Stateless);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;
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

QString fromAnsi(QByteArrayView bytes) {
    QStringDecoder decoder("CP932", QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

std::optional<DecodedText> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decodeText(file.readAll());
}

} // namespace platform
