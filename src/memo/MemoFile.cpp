#include "memo/MemoFile.h"

#include "config/NumericText.h"
#include "memo/MemoDateFormat.h"
#include "platform/AtomicFile.h"
#include "platform/FileRead.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>

namespace memo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kSeparator = QStringLiteral("\r\n.\r\n");

constexpr int kFileNotFound = 53;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccessError = 75;

// Lines made only of dots carry one dot more in the file, so that the separator line "." never
// occurs inside a memo. `delta` is +1 when writing and -1 when reading (where a lone "." cannot
// occur and stays). Lines end with CR LF; the text after the last CR LF is a line too.
QString escapeDotLines(const QString& text, int delta) {
    if (!text.contains(u'.'))
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(kCrLf, start);
        const QStringView line =
            QStringView(text).mid(start, (end < 0 ? text.size() : end) - start);
        const bool dotsOnly = !line.isEmpty() && std::all_of(line.begin(), line.end(),
                                                             [](QChar c) { return c == u'.'; });
        if (dotsOnly && delta > 0) {
            out += line;
            out += u'.';
        } else if (dotsOnly && line.size() > 1) {
            out += line.chopped(1);
        } else {
            out += line;
        }
        if (end < 0)
            break;
        out += kCrLf;
        start = end + 2;
    }
    return out;
}

// A file written by an editor of this platform ends its lines with LF alone; the format counts
// CR LF. A file that holds any CR LF is the program's own, and a lone LF in it is memo text.
QString normalizeLineEnds(const QString& text) {
    if (text.contains(kCrLf))
        return text;
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
    const QString text = escapeDotLines(piece, -1);
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
    return escapeDotLines(out, +1);
}

void AppendLogLine(MemoRecord& memo, const QDateTime& now, const QString& message,
                   const QString& dateFormat) {
    memo.Text += QLatin1Char('[') + FormatMemoDate(now, kLogStampFormat) + QStringLiteral("] ") +
                 message + QStringLiteral("\r\n");
    memo.CursorPos = qint32(std::min<qsizetype>(memo.Text.size(), INT32_MAX));
    memo.LastModified = FormatMemoDate(now, dateFormat);
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

MemoFileError memoFileError(int errorNumber, const QString& description) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return {kFileNotFound, description};
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return {kDiskFull, description};
    case EACCES:
    case EPERM:
    case EROFS:
        return {kPermissionDenied, description};
    default:
        return {kPathFileAccessError, description};
    }
}

MemoFileContent ReadMemoFile(const QString& fileName) {
    MemoFileContent content;
    if (fileName.isEmpty()) {
        content.error = MemoFileError{kFileNotFound, QStringLiteral("no memo file name")};
        return content;
    }
    platform::removeLeftoverTemporaries(fileName);
    content.stamp = platform::FileStamp::of(fileName);
    platform::FileBytes file = platform::readWholeFile(fileName);
    if (file.missing())
        return content;
    if (!file.ok()) {
        // A FIFO, a device or a huge file is a wrong setting rather than a failing disk.
        const bool wrongKind = file.errorNumber == platform::kNotARegularFile ||
                               file.errorNumber == platform::kFileTooLarge;
        content.error =
            memoFileError(file.errorNumber == EISDIR ? EIO : file.errorNumber,
                          wrongKind ? QStringLiteral("%1 (MemoFileName)").arg(file.error)
                                    : QStringLiteral("%1: %2").arg(fileName, file.error));
        return content;
    }
    platform::DecodedText decoded = platform::decodeText(file.bytes);
    content.encoding = decoded.encoding;
    content.exact = decoded.exact;
    content.bytes = std::move(file.bytes);
    content.memos = ParseMemoFileText(decoded.text);
    return content;
}

std::optional<MemoFileError> WriteMemoFile(const QString& fileName, QList<MemoRecord>& memos,
                                           platform::TextEncoding& encoding, QByteArray* written) {
    if (fileName.isEmpty())
        return MemoFileError{kFileNotFound, QStringLiteral("no memo file name")};
    const QString text = FormatMemoFileText(memos);
    platform::TextEncoding used = encoding;
    std::optional<QByteArray> bytes = platform::encodeTextExactly(text, used);
    if (!bytes) {
        used = platform::TextEncoding::Utf8;
        bytes = platform::encodeTextExactly(text, used);
    }
    const platform::WriteResult result = platform::writeFileAtomically(fileName, *bytes);
    if (!result)
        return memoFileError(result.errorNumber, result.error);
    encoding = used;
    if (written)
        *written = std::move(*bytes);
    return std::nullopt;
}

std::optional<MemoFileError> WriteMemoFile(const QString& fileName, QList<MemoRecord>& memos) {
    platform::TextEncoding encoding = platform::TextEncoding::Utf8;
    return WriteMemoFile(fileName, memos, encoding);
}

} // namespace memo
