// Saving only the memos that changed gives the file a full rewrite would give, and falls back to
// the full rewrite wherever the shortcut cannot be sure.
#include "memo/FirstMemoAppend.h"
#include "memo/HeadlessMemoView.h"
#include "memo/MemoFile.h"
#include "memo/MemoList.h"
#include "platform/TextCodec.h"

#include "MemoRecordPrinter.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace memo;

const QDateTime kNow(QDate(2026, 3, 1), QTime(9, 15, 0));
MemoClock fixedClock() {
    return [] { return kNow; };
}

QList<MemoRecord> threeMemos(const QString& extra = QString()) {
    QList<MemoRecord> memos;
    for (int i = 1; i <= 3; ++i) {
        MemoRecord m;
        m.Title = QStringLiteral("メモ%1").arg(i);
        m.LastModified = QStringLiteral("2025-12-31");
        m.Text =
            QStringLiteral("会議：「予算」★ ﾊﾝｶｸ …\r\n.\r\n..\r\nline %1%2\r\n").arg(i).arg(extra);
        m.CursorPos = 3;
        memos.append(m);
    }
    return memos;
}

// A file as the program writes it, in the given encoding.
QString canonicalFile(QList<MemoRecord> memos, platform::TextEncoding encoding) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    EXPECT_FALSE(WriteMemoFile(path, memos, encoding));
    return path;
}

// What the full rewrite makes of appending `line` to memo 1 of the file.
QByteArray fullRewriteAppend(const QString& path, const QString& line) {
    const QString copy = testsupport::freshFolder() + QStringLiteral("/copy.txt");
    testsupport::writeFile(copy, testsupport::readFile(path));
    QList<MemoRecord> memos = ReadMemoFile(copy).memos;
    platform::TextEncoding encoding = ReadMemoFile(copy).encoding;
    AppendLogLine(memos[0], kNow, line, kDefaultMemoDateFormat);
    EXPECT_FALSE(WriteMemoFile(copy, memos, encoding));
    return testsupport::readFile(copy);
}

struct AppendCase {
    const char* name;
    platform::TextEncoding encoding;
    QString line;
    FirstMemoAppend outcome;
};

FirstMemoAppend appendLine(const QString& path, const QString& line) {
    std::optional<MemoFileError> error;
    const FirstMemoAppend outcome =
        appendToFirstMemo(path, line, kNow, kDefaultMemoDateFormat, error);
    EXPECT_EQ(error.has_value(), outcome == FirstMemoAppend::Failed);
    return outcome;
}

void PrintTo(const AppendCase& c, std::ostream* os) {
    *os << c.name;
}

class QuickAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(QuickAppend, GivesTheBytesOfAFullRewrite) {
    const AppendCase& c = GetParam();
    const QString path = canonicalFile(threeMemos(), c.encoding);
    const QByteArray before = testsupport::readFile(path);
    const QByteArray expected = fullRewriteAppend(path, c.line);
    ASSERT_EQ(appendLine(path, c.line), c.outcome);
    EXPECT_EQ(testsupport::readFile(path), c.outcome == FirstMemoAppend::Filed ? expected : before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QuickAppend,
    ::testing::Values(AppendCase{"cp932", platform::TextEncoding::Cp932,
                                 QStringLiteral("買い物：卵〜牛乳"), FirstMemoAppend::Filed},
                      AppendCase{"utf8", platform::TextEncoding::Utf8, QStringLiteral("한국어 😀 é"),
                                 FirstMemoAppend::Filed},
                      AppendCase{"utf8Bom", platform::TextEncoding::Utf8Bom,
                                 QStringLiteral("≠ − ‖"), FirstMemoAppend::Filed},
                      // Text the code page cannot hold moves the whole file to UTF-8: the full way.
                      AppendCase{"cp932GainsKorean", platform::TextEncoding::Cp932,
                                 QStringLiteral("한국어"), FirstMemoAppend::NotApplicable},
                      AppendCase{"dotLine", platform::TextEncoding::Cp932, QStringLiteral("."),
                                 FirstMemoAppend::Filed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuickAppend, BytesOfOtherMemosAreCopiedEvenWhenTheyDoNotDecode) {
    // Memo 2 holds Latin-1 bytes (no valid CP932): the first memo alone is rewritten.
    const QByteArray rest = "\r\n.\r\nTitle:b\r\nLast-Modified:y\r\nCursorPos:0\r\n\r\ncaf\xe9\r\n";
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
    testsupport::writeFile(path,
                           "Title:a\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\nfirst\r\n" + rest);
    ASSERT_EQ(appendLine(path, QStringLiteral("メモ")), FirstMemoAppend::Filed);
    const QByteArray bytes = testsupport::readFile(path);
    EXPECT_TRUE(bytes.endsWith(rest));
    EXPECT_TRUE(bytes.startsWith("Title:a\r\nLast-Modified:2026-03-01\r\n"));
    EXPECT_TRUE(platform::fromAnsi(bytes).contains(QStringLiteral("] メモ\r\n")));
}

// The window's route: a loaded list saves only what changed, and a reader sees every memo.
TEST(SpliceSave, WindowSavesReadBackAsTheListInEveryCase) {
    const struct {
        const char* name;
        platform::TextEncoding encoding;
        std::function<void(MemoList&)> change;
    } rows[] = {
        {"lineIntoMemoTwo", platform::TextEncoding::Cp932,
         [](MemoList& l) { l.AddMessage(QStringLiteral("二つ目へ"), 2); }},
        {"currentMemoTyped", platform::TextEncoding::Utf8,
         [](MemoList& l) { l.AddMessage(QStringLiteral("한국어")); }},
        {"codePageOverflow", platform::TextEncoding::Cp932,
         [](MemoList& l) { l.AddMessage(QStringLiteral("😀"), 3); }},
        {"memoAdded", platform::TextEncoding::Cp932, [](MemoList& l) { l.CreateNewMemo(); }},
        {"memoDeleted", platform::TextEncoding::Utf8Bom, [](MemoList& l) { l.DeleteMemo(2); }},
        {"nothing", platform::TextEncoding::Cp932, [](MemoList&) {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = canonicalFile(threeMemos(), row.encoding);
        HeadlessMemoView view;
        MemoList list(view, fixedClock());
        ASSERT_FALSE(list.setFileName(path));
        ASSERT_FALSE(list.Load());
        for (int save = 0; save < 2; ++save) { // the second save starts from the spliced bytes
            row.change(list);
            ASSERT_FALSE(list.Save());
            const MemoFileContent back = ReadMemoFile(path);
            ASSERT_TRUE(back.ok());
            EXPECT_EQ(back.memos, list.memos());
        }
    }
}

TEST(QuickAppend, LeavesFilesItCannotBeSureOfToTheWholeWay) {
    const QByteArray rows[] = {
        // An editor's file without CR LF: its lone LFs read as line ends only as a whole.
        "Title:a\nLast-Modified:x\nCursorPos:0\n\nfirst\n.\nTitle:b\nLast-Modified:y\n",
        // A first memo that does not read back exactly (Latin-1).
        "Title:a\r\nLast-Modified:x\r\nCursorPos:0\r\n\ncaf\xe9\r\n",
        "",
    };
    for (const QByteArray& bytes : rows) {
        const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.txt");
        testsupport::writeFile(path, bytes);
        EXPECT_EQ(appendLine(path, QStringLiteral("x")), FirstMemoAppend::NotApplicable);
        EXPECT_EQ(testsupport::readFile(path), bytes);
    }
    EXPECT_EQ(
        appendLine(testsupport::freshFolder() + QStringLiteral("/none.txt"), QStringLiteral("x")),
        FirstMemoAppend::NotApplicable);
}

} // namespace
