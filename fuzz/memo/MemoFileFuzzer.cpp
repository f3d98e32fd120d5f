// Any bytes must read as memos without a crash, and whatever was read must survive a write and
// a second read unchanged (titles filled in by the writer count as written).
#include "memo/MemoFile.h"

#include <QByteArray>
#include <QDir>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("memo.txt"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const platform::DecodedText decoded = platform::decodeText(bytes);
    QList<MemoRecord> memos = ParseMemoFileText(decoded.text);
    for (const MemoRecord& memo : memos)
        check(memo.CursorPos >= 0 && memo.CursorPos <= memo.Text.size());

    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    MemoFileContent content = ReadMemoFile(path);
    check(content.ok());
    check(content.memos.size() == memos.size());

    // A second round trip through the file keeps every memo, except a text line of exactly ".."
    // which the format cannot tell from an escaped ".".
    QList<MemoRecord> written = content.memos;
    check(!WriteMemoFile(path, written, content.encoding));
    const MemoFileContent reread = ReadMemoFile(path);
    check(reread.ok());
    bool comparable = content.encoding != platform::TextEncoding::Cp932 ||
                      std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0; });
    for (const MemoRecord& memo : written)
        comparable = comparable && !isDotDotLine(memo.Text) && !hasLineBreak(memo.Title) &&
                     !hasLineBreak(memo.LastModified);
    if (comparable) {
        check(reread.memos.size() == written.size());
        for (qsizetype i = 0; i < written.size(); ++i)
            check(reread.memos[i] == written[i]);
    }
    return 0;
}
