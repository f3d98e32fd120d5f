#include "InstanceMessage.h"

#include "platform/ActivationToken.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <QtEndian>

namespace instance {

namespace {
const QLatin1StringView kPrevInstancePrefix{"PREVINSTANCE:"};
const QLatin1StringView kMemoLinePrefix{"MEMOLINE:"};

// "&H" + digits as a 32-bit number: one to eight significant hex digits (either case), read as
// two's complement so a value with the top bit set comes out negative.
qint32 hexToLong(QStringView digits) {
    while (digits.endsWith(QLatin1Char(' ')))
        digits.chop(1);
    if (digits.isEmpty())
        return 0;
    quint32 value = 0;
    int significant = 0;
    for (QChar c : digits) {
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        else
            return 0;
        if (significant > 0 || digit != 0)
            ++significant;
        if (significant > 8)
            return 0; // overflow
        value = value << 4 | quint32(digit);
    }
    return qint32(value);
}
} // namespace

QString prevInstanceMessage(quint32 windowId, const QString& activationToken) {
    QString text = kPrevInstancePrefix + QString::number(windowId, 16).toUpper();
    if (platform::isValidActivationToken(activationToken))
        text += QLatin1Char('\n') + activationToken;
    return text;
}

std::optional<qint32> parsePrevInstanceMessage(const QString& text) {
    if (!text.startsWith(kPrevInstancePrefix, Qt::CaseSensitive))
        return std::nullopt;
    QStringView id = QStringView(text).mid(kPrevInstancePrefix.size());
    if (const qsizetype end = id.indexOf(QLatin1Char('\n')); end >= 0)
        id.truncate(end);
    return hexToLong(id);
}

QString activationTokenOf(const QString& text) {
    if (!text.startsWith(kPrevInstancePrefix, Qt::CaseSensitive))
        return QString();
    const qsizetype start = text.indexOf(QLatin1Char('\n'));
    if (start < 0)
        return QString();
    const QString token = text.mid(start + 1);
    return platform::isValidActivationToken(token) ? token : QString();
}

QString newRequestId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString memoLineMessage(const MemoLineMessage& message) {
    QJsonObject body{{QStringLiteral("memoFile"), message.memoFile},
                     {QStringLiteral("line"), message.line}};
    if (!message.requestId.isEmpty())
        body.insert(QStringLiteral("requestId"), message.requestId);
    if (!message.memoTitle.isEmpty())
        body.insert(QStringLiteral("memoTitle"), message.memoTitle);
    return kMemoLinePrefix + QString::fromUtf8(QJsonDocument(body).toJson(QJsonDocument::Compact));
}

std::optional<MemoLineMessage> parseMemoLineMessage(const QString& text) {
    if (!text.startsWith(kMemoLinePrefix, Qt::CaseSensitive))
        return std::nullopt;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QStringView(text).mid(kMemoLinePrefix.size()).toUtf8());
    const QJsonObject body = doc.object();
    const QJsonValue file = body.value(QStringLiteral("memoFile"));
    const QJsonValue line = body.value(QStringLiteral("line"));
    const QJsonValue id = body.value(QStringLiteral("requestId"));
    const QJsonValue title = body.value(QStringLiteral("memoTitle"));
    if (!file.isString() || !line.isString() || !(id.isUndefined() || id.isString()) ||
        !(title.isUndefined() || title.isString()))
        return std::nullopt;
    return MemoLineMessage{file.toString(), line.toString(), id.toString(), title.toString()};
}

QByteArray encodeFrame(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray frame(4, Qt::Uninitialized);
    qToBigEndian(quint32(utf8.size()), frame.data());
    return frame + utf8;
}

std::optional<QString> takeFrame(QByteArray& buffer, bool& broken) {
    broken = false;
    if (buffer.size() < 4)
        return std::nullopt;
    const quint32 length = qFromBigEndian<quint32>(buffer.constData());
    if (length > quint32(kMaxFrameBytes)) {
        broken = true;
        return std::nullopt;
    }
    if (buffer.size() < 4 + qsizetype(length))
        return std::nullopt;
    QString text = QString::fromUtf8(buffer.constData() + 4, qsizetype(length));
    buffer.remove(0, 4 + qsizetype(length));
    return text;
}

} // namespace instance
