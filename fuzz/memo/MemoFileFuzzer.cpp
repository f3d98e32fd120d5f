// Any bytes must read as memos without a crash, the file reader must agree with the in-memory
// parser, and whatever was read must survive a write and a second read unchanged (titles filled
// in by the writer count as written).
#include "memo/MemoFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool isDotDotLine(const QString& text) {
    return text == QStringLiteral("..") || text.startsWith(QStringLiteral("..\r\n")) ||
           text.endsWith(QStringLiteral("\r\n..")) || text.contains(QStringLiteral("\r\n..\r\n"));
}

// Header values are single lines; the writer flattens any break in them.
bool hasLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

void checkSame(const QList<memo::MemoRecord>& a, const QList<memo::MemoRecord>& b) {
    check(a.size() == b.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        check(a[i] == b[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("memo.txt"));
    static unsigned runs = 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const platform::DecodedText decoded = platform::decodeText(bytes);
    const QList<memo::MemoRecord> memos = memo::ParseMemoFileText(decoded.text);
    for (const memo::MemoRecord& memo : memos)
        check(memo.CursorPos >= 0 && memo.CursorPos <= memo.Text.size());

    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    const memo::MemoFileContent content = memo::ReadMemoFile(path);
    check(content.ok());
    check(content.encoding == decoded.encoding);
    checkSame(content.memos, memos);

    // A CP932 text with bytes beyond ASCII may hold characters that do not survive encoding back.
    bool comparable = content.encoding != platform::TextEncoding::Cp932 ||
                      std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; });
    QList<memo::MemoRecord> written = content.memos;
    const QByteArray encoded =
        platform::encodeText(memo::FormatMemoFileText(written), content.encoding);
    const QList<memo::MemoRecord> reparsed =
        memo::ParseMemoFileText(platform::decodeText(encoded).text);
    for (const memo::MemoRecord& memo : written)
        comparable = comparable && !isDotDotLine(memo.Text) && !hasLineBreak(memo.Title) &&
                     !hasLineBreak(memo.LastModified);
    if (comparable)
        checkSame(reparsed, written);

    // The real writer (flushed to disk, so only now and then).
    if (++runs % 256 == 0) {
        QList<memo::MemoRecord> again = content.memos;
        check(!memo::WriteMemoFile(path, again, content.encoding));
        const memo::MemoFileContent reread = memo::ReadMemoFile(path);
        check(reread.ok());
        if (comparable)
            checkSame(reread.memos, again);
    }
    return 0;
}
