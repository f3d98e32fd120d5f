#include "memo/MemoFile.h"

#include "config/NumericText.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kSeparator = QStringLiteral("\r\n.\r\n");

constexpr int kFileNotFound = 53;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccessError = 75;

// Copies `text`, replacing every line that is exactly `from` by `to`. Lines end with CR LF; the
// text after the last CR LF is a line too.
QString replaceWholeLines(const QString& text, QStringView from, QStringView to) {
    if (!text.contains(from))
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(kCrLf, start);
        const QStringView line =
            QStringView(text).mid(start, (end < 0 ? text.size() : end) - start);
        out += (line == from) ? to : line;
        if (end < 0)
            break;
        out += kCrLf;
        start = end + 2;
    }
    return out;
}

// Files touched by editors of this platform may end lines with LF alone; the format counts CR LF.
QString normalizeLineEnds(const QString& text) {
    qsizetype loneLf = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            ++loneLf;
    if (loneLf == 0)
        return text;
    QString out;
    out.reserve(text.size() + loneLf);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            out += u'\r';
        out += text[i];
    }
    return out;
}

// A CursorPos header value: a number rounds half to even; anything else, or a value outside the
// text, lands on the nearest valid position.
qint32 cursorPosFrom(const QString& value, qsizetype textLength) {
    const auto number = numtext::parseNumber(std::u16string_view(
        reinterpret_cast<const char16_t*>(value.utf16()), size_t(value.size())));
    if (!number || std::isnan(*number))
        return 0;
    const double rounded = numtext::roundHalfEven(*number);
    if (rounded <= 0)
        return 0;
    const double limit =
        double(std::min<qsizetype>(textLength, std::numeric_limits<qint32>::max()));
    return rounded >= limit ? qint32(limit) : qint32(rounded);
}

// Header values are single lines; a line break in one would tear the header block apart.
QString singleLine(const QString& value) {
    if (!value.contains(u'\r') && !value.contains(u'\n'))
        return value;
    QString out = value;
    out.replace(kCrLf, QStringLiteral(" "));
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

MemoRecord plainMemo(const QString& text) {
    MemoRecord memo;
    memo.Text = text;
    memo.Title = FirstNonEmptyLine(text);
    return memo;
}

} // namespace

QString FirstNonEmptyLine(const QString& text) {
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(kCrLf, start);
        if (end < 0)
            end = text.size();
        if (end > start)
            return text.mid(start, end - start);
        start = end + 2;
    }
    return QString();
}

MemoRecord ParseMemo(const QString& piece) {
    const QString text = replaceWholeLines(piece, u"..", u".");
    const qsizetype blank = text.indexOf(QStringLiteral("\r\n\r\n"));
    if (blank < 0)
        return plainMemo(text);

    MemoRecord memo;
    QString cursorValue;
    bool hasCursor = false;
    const QStringView head = QStringView(text).left(blank);
    if (!head.isEmpty()) {
        for (const QStringView line : head.split(kCrLf)) {
            const qsizetype colon = line.indexOf(u':');
            if (colon < 0)
                return plainMemo(text);
            const QStringView name = line.left(colon);
            const QString value = line.mid(colon + 1).toString();
            if (name == u"Title") {
                memo.Title = value;
            } else if (name == u"Last-Modified") {
                memo.LastModified = value;
            } else if (name == u"CursorPos") {
                cursorValue = value;
                hasCursor = true;
            } else {
                return plainMemo(text);
            }
        }
    }
    memo.Text = text.mid(blank + 4);
    memo.CursorPos = hasCursor ? cursorPosFrom(cursorValue, memo.Text.size()) : 0;
    return memo;
}

QString FormatMemo(MemoRecord& record) {
    if (record.Title.isEmpty())
        record.Title = FirstNonEmptyLine(record.Text);
    QString out;
    out.reserve(record.Text.size() + record.Title.size() + record.LastModified.size() + 48);
    out += QStringLiteral("Title:") + singleLine(record.Title) + kCrLf;
    out += QStringLiteral("Last-Modified:") + singleLine(record.LastModified) + kCrLf;
    out += QStringLiteral("CursorPos:") + QString::number(record.CursorPos) + kCrLf + kCrLf;
    out += record.Text;
    return replaceWholeLines(out, u".", u"..");
}

QString FormatMemoFileText(QList<MemoRecord>& memos) {
    QString out;
    for (qsizetype i = 0; i < memos.size(); ++i) {
        if (i > 0)
            out += kSeparator;
        out += FormatMemo(memos[i]);
    }
    return out;
}

QList<MemoRecord> ParseMemoFileText(const QString& fileText) {
    QList<MemoRecord> memos;
    if (fileText.isEmpty())
        return memos;
    const QString text = normalizeLineEnds(fileText);
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(kSeparator, start);
        memos.append(ParseMemo(text.mid(start, (end < 0 ? text.size() : end) - start)));
        if (end < 0)
            break;
        start = end + kSeparator.size();
    }
    return memos;
}

MemoFileContent ReadMemoFile(const QString& fileName) {
    MemoFileContent content;
    if (fileName.isEmpty()) {
        content.error = MemoFileError{kFileNotFound, QStringLiteral("no memo file name")};
        return content;
    }
    const QFileInfo info(fileName);
    if (!info.exists())
        return content;
    if (info.isDir()) {
        content.error =
            MemoFileError{kPathFileAccessError, QStringLiteral("%1 is a folder").arg(fileName)};
        return content;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        const int number = file.error() == QFileDevice::PermissionsError ? kPermissionDenied
                                                                         : kPathFileAccessError;
        content.error = MemoFileError{number, file.errorString()};
        return content;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        content.error = MemoFileError{kPathFileAccessError, file.errorString()};
        return content;
    }
    const platform::DecodedText decoded = platform::decodeText(bytes);
    content.encoding = decoded.encoding;
    content.memos = ParseMemoFileText(decoded.text);
    return content;
}

std::optional<MemoFileError> WriteMemoFile(const QString& fileName, QList<MemoRecord>& memos,
                                           platform::TextEncoding encoding) {
    if (fileName.isEmpty())
        return MemoFileError{kFileNotFound, QStringLiteral("no memo file name")};
    const QByteArray bytes = platform::encodeText(FormatMemoFileText(memos), encoding);
    const platform::WriteResult written = platform::writeFileAtomically(fileName, bytes);
    if (!written)
        return MemoFileError{kPathFileAccessError, written.error};
    return std::nullopt;
}
