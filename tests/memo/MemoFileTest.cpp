#include "memo/MemoFile.h"

#include "MemoRecordPrinter.h"
#include "TestEnvironment.h"
#include "platform/FileFaults.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <functional>

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

memo::MemoRecord record(const char* title, const char* modified, const char* text, int caret = 0) {
    return memo::MemoRecord{q(title), q(modified), q(text), caret};
}

} // namespace

struct ParseCase {
    const char* name;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
    const char* piece;
    memo::MemoRecord expected;
};

class ParseMemoTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseMemoTest, Parses) {
    const memo::MemoRecord parsed = memo::ParseMemo(q(GetParam().piece));
    EXPECT_EQ(parsed, GetParam().expected) << parsed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseMemoTest,
    testing::Values(
        ParseCase{"FullHeader",
                  "Title:Shopping\r\nLast-Modified:2007-03-01\r\nCursorPos:4\r\n\r\nmilk\r\nbread",
                  record("Shopping", "2007-03-01", "milk\r\nbread", 4)},
        ParseCase{"PlainWithoutBlankLine", "hello\r\nworld", record("hello", "", "hello\r\nworld")},
        ParseCase{"OtherHeaderMakesPlain", "Title:x\r\nAuthor:me\r\n\r\nbody",
                  record("Title:x", "", "Title:x\r\nAuthor:me\r\n\r\nbody")},
        ParseCase{"LowerCaseNameMakesPlain", "title:x\r\n\r\nbody",
                  record("title:x", "", "title:x\r\n\r\nbody")},
        ParseCase{"LineWithoutColonMakesPlain", "Title:x\r\nnote\r\n\r\nbody",
                  record("Title:x", "", "Title:x\r\nnote\r\n\r\nbody")},
        ParseCase{"ValueKeepsBlanksAndColons", "Title: a:b \r\n\r\nt", record(" a:b ", "", "t")},
        ParseCase{"LastDuplicateWins", "Title:a\r\nTitle:b\r\n\r\nt", record("b", "", "t")},
        ParseCase{"EmptyHeadGivesNoHeaders", "\r\n\r\nbody", record("", "", "body")},
        ParseCase{"EmptyBody", "Title:t\r\nLast-Modified:m\r\nCursorPos:0\r\n\r\n",
                  record("t", "m", "")},
        ParseCase{"CursorLetters", "CursorPos:abc\r\n\r\nhello", record("", "", "hello", 0)},
        ParseCase{"CursorBlankSeven", "CursorPos: 7\r\n\r\nhello world",
                  record("", "", "hello world", 7)},
        ParseCase{"CursorHalfToEven", "CursorPos:2.5\r\n\r\nhello", record("", "", "hello", 2)},
        ParseCase{"CursorHalfToEvenUp", "CursorPos:3.5\r\n\r\nhello", record("", "", "hello", 4)},
        ParseCase{"CursorNegativeToStart", "CursorPos:-3\r\n\r\nhello", record("", "", "hello", 0)},
        ParseCase{"CursorBeyondTextToEnd", "CursorPos:99\r\n\r\nhello", record("", "", "hello", 5)},
        ParseCase{"CursorHugeToEnd", "CursorPos:99999999999999\r\n\r\nhello",
                  record("", "", "hello", 5)},
        ParseCase{"CursorHugeNegativeToStart", "CursorPos:-1E300\r\n\r\nhi", record("", "", "hi", 0)},
        ParseCase{"DoubleDotLineUnescaped", "Title:t\r\n\r\na\r\n..\r\n..\r\nb",
                  record("t", "", "a\r\n.\r\n.\r\nb")},
        ParseCase{"DotPrefixedLinesUnchanged", "Title:t\r\n\r\n.a\r\n..b\r\n. ",
                  record("t", "", ".a\r\n..b\r\n. ")},
        // Lines made only of dots carry one dot more in the file; so a file from elsewhere with
        // such a line of three or more dots reads one dot shorter.
        ParseCase{"DotOnlyLinesLoseOneDot", "Title:t\r\n\r\n...\r\n....",
                  record("t", "", "..\r\n...")},
        ParseCase{"PlainTitleSkipsEmptyLines", "\r\n  \r\nx", record("  ", "", "\r\n  \r\nx")},
        ParseCase{"EmptyPiece", "", record("", "", "")},
        ParseCase{"Japanese", "Title:買い物\r\n\r\n牛乳", record("買い物", "", "牛乳")}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
    const char* name;
    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }
    memo::MemoRecord record;
    const char* expected;
};

class FormatMemoTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatMemoTest, Formats) {
    memo::MemoRecord record = GetParam().record;
    EXPECT_EQ(memo::FormatMemo(record).toStdString(), std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatMemoTest,
    testing::Values(
        FormatCase{
            "Header", record("Shopping", "2007-03-01", "milk\r\nbread", 12),
            "Title:Shopping\r\nLast-Modified:2007-03-01\r\nCursorPos:12\r\n\r\nmilk\r\nbread"},
        FormatCase{"EmptyTitleFromFirstNonEmptyLine", record("", "d", "\r\nfirst\r\n"),
                   "Title:first\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\n\r\nfirst\r\n"},
        FormatCase{"DotLinesEscaped", record("t", "d", ".\r\n.\r\n.x"),
                   "Title:t\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\n..\r\n..\r\n.x"},
        FormatCase{"DotOnlyLinesGainOneDot", record("t", "d", "..\r\n...\r\n.. "),
                   "Title:t\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\n...\r\n....\r\n.. "},
        FormatCase{"TitleLineBreaksFlattened", record("a\r\nb", "d", "x"),
                   "Title:a b\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\nx"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatMemo, FillsTheEmptyTitleIntoTheRecord) {
    memo::MemoRecord filled = record("", "", "\r\nfirst");
    memo::FormatMemo(filled);
    EXPECT_EQ(filled.Title, q("first"));
}

TEST(FirstNonEmptyLine, Table) {
    const std::pair<const char*, const char*> rows[] = {{"", ""},        {"\r\n\r\n", ""},
                                                        {"a\r\nb", "a"}, {"\r\n\r\nb\r\n", "b"},
                                                        {" \r\nb", " "}, {"only", "only"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(memo::FirstNonEmptyLine(q(text)), q(expected)) << text;
}

TEST(MemoFileText, TwoMemosGiveOneSeparatorAndNoTrailingLineEnd) {
    QList<memo::MemoRecord> memos{record("a", "1", "x"), record("b", "2", "y")};
    EXPECT_EQ(memo::FormatMemoFileText(memos).toStdString(),
              "Title:a\r\nLast-Modified:1\r\nCursorPos:0\r\n\r\nx\r\n.\r\n"
              "Title:b\r\nLast-Modified:2\r\nCursorPos:0\r\n\r\ny");
}

TEST(MemoFileText, RoundTripKeepsMemosWithDotLines) {
    QList<memo::MemoRecord> memos{record("a", "1", ".\r\n.\r\n", 3), record("b", "2", "..x\r\n.y"),
                                  record("c", "3", ""), record("d", "4", "..\r\n...\r\n.\r\n.."),
                                  record("e", "5", ".")};
    const QList<memo::MemoRecord> original = memos;
    EXPECT_EQ(memo::ParseMemoFileText(memo::FormatMemoFileText(memos)), original);
}

TEST(MemoFileText, SeparatorsMakePiecesEvenEmptyOnes) {
    const auto memos = memo::ParseMemoFileText(q("a\r\n.\r\n\r\n.\r\nb"));
    ASSERT_EQ(memos.size(), 3);
    EXPECT_EQ(memos[0].Text, q("a"));
    EXPECT_EQ(memos[1].Text, q(""));
    EXPECT_EQ(memos[2].Text, q("b"));
}

// Lone LFs are line ends only in a file that has no CR LF at all (written by an editor here);
// in the program's own files they are memo text.
TEST(MemoFileText, LoneLineFeeds) {
    const struct {
        const char* text;
        QList<memo::MemoRecord> memos;
    } rows[] = {
        {"Title:a\n\nx\n.\nTitle:b\n\ny", {record("a", "", "x"), record("b", "", "y")}},
        {"Title:a\r\n\r\nx\n.\ny", {record("a", "", "x\n.\ny")}},
        {"Title:a\r\n\r\nx\n.\ny\r\n.\r\nTitle:b\r\n\r\n\n",
         {record("a", "", "x\n.\ny"), record("b", "", "\n")}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(memo::ParseMemoFileText(q(row.text)), row.memos) << row.text;
}

// A lone LF in a memo survives the round trip through the file.
TEST(MemoFileText, LoneLineFeedInATextStaysInItsMemo) {
    QList<memo::MemoRecord> memos{record("a", "1", "x\n.\ny"), record("b", "2", "z")};
    const QList<memo::MemoRecord> original = memos;
    EXPECT_EQ(memo::ParseMemoFileText(memo::FormatMemoFileText(memos)), original);
}

TEST(MemoFile, MissingAndEmptyFilesReadAsNoMemos) {
    const QString dir = testsupport::freshFolder();
    const auto missing = memo::ReadMemoFile(dir + "/none.txt");
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.memos.isEmpty());
    testsupport::writeFile(dir + "/empty.txt", QByteArray());
    const auto empty = memo::ReadMemoFile(dir + "/empty.txt");
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.memos.isEmpty());
}

TEST(MemoFile, EmptyNameFailsWith53) {
    EXPECT_EQ(memo::ReadMemoFile(QString()).error->number, 53);
    QList<memo::MemoRecord> memos{record("a", "", "")};
    EXPECT_EQ(memo::WriteMemoFile(QString(), memos)->number, 53);
}

// Reading fails for root too: a folder, or a file whose read is refused (injected).
TEST(MemoFile, FolderOrUnreadableFileIsAnError) {
    const QString dir = testsupport::freshFolder();
    EXPECT_EQ(memo::ReadMemoFile(dir).error->number, 75);
    const QString path = dir + "/locked.txt";
    testsupport::writeFile(path, "x");
    platform::injectFileFault(path, platform::FileStep::Read, EACCES);
    const auto content = memo::ReadMemoFile(path);
    platform::clearFileFaults();
    ASSERT_FALSE(content.ok());
    EXPECT_EQ(content.error->number, 70);
}

// A memo file name that leads to a FIFO is a wrong setting: reported at once, naming it.
TEST(MemoFile, FifoIsRefusedNamingTheSetting) {
    const QString fifo = testsupport::freshFolder() + "/scrivlet.txt";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto content = memo::ReadMemoFile(fifo);
    ASSERT_FALSE(content.ok());
    EXPECT_EQ(content.error->number, 75);
    EXPECT_TRUE(content.error->description.contains("MemoFileName"));
    EXPECT_TRUE(content.error->description.contains("FIFO"));
    QList<memo::MemoRecord> memos{memo::MemoRecord{}};
    EXPECT_TRUE(memo::WriteMemoFile(fifo, memos).has_value());
}

// The file stays in CP932 while the code page holds the text, best-fit characters included;
// text it cannot hold moves the file to UTF-8. Never a "?" in the file.
TEST(MemoFile, EncodingOfWrites) {
    const struct {
        const char* text;
        platform::TextEncoding read;
        platform::TextEncoding written;
        QByteArray body;
    } rows[] = {
        {"メモ。", platform::TextEncoding::Cp932, platform::TextEncoding::Cp932,
         "\x83\x81\x83\x82\x81\x42"},
        {"1〜2−3", platform::TextEncoding::Cp932, platform::TextEncoding::Cp932,
         "1\x81\x60"
         "2\x81\x7c"
         "3"},
        {"メモ café 😀 한국어 ü", platform::TextEncoding::Cp932, platform::TextEncoding::Utf8,
         QString("メモ café 😀 한국어 ü").toUtf8()},
        {"¥100", platform::TextEncoding::Cp932, platform::TextEncoding::Utf8,
         "\xc2\xa5"
         "100"},
        {"ｱｲｳ", platform::TextEncoding::Utf8, platform::TextEncoding::Utf8,
         "\xef\xbd\xb1\xef\xbd\xb2\xef\xbd\xb3"},
    };
    const QString dir = testsupport::freshFolder();
    for (const auto& row : rows) {
        const QString path = dir + "/memo.txt";
        QList<memo::MemoRecord> memos{record("t", "", row.text)};
        platform::TextEncoding encoding = row.read;
        ASSERT_FALSE(memo::WriteMemoFile(path, memos, encoding)) << row.text;
        EXPECT_EQ(encoding, row.written) << row.text;
        const QByteArray bytes = testsupport::readFile(path);
        EXPECT_TRUE(bytes.endsWith(row.body)) << row.text;
        EXPECT_FALSE(bytes.contains('?')) << row.text;
        const auto back = memo::ReadMemoFile(path);
        EXPECT_EQ(back.encoding, row.written) << row.text;
    }
}

TEST(MemoFile, KeepsTheEncodingRead) {
    const QString dir = testsupport::freshFolder();
    testsupport::writeFile(dir + "/utf8.txt", QString("Title:メモ\r\n\r\n本文").toUtf8());
    auto content = memo::ReadMemoFile(dir + "/utf8.txt");
    ASSERT_TRUE(content.ok());
    EXPECT_EQ(content.encoding, platform::TextEncoding::Utf8);
    EXPECT_EQ(content.memos.value(0).Text, q("本文"));
    ASSERT_FALSE(memo::WriteMemoFile(dir + "/utf8.txt", content.memos, content.encoding));
    EXPECT_EQ(testsupport::readFile(dir + "/utf8.txt"),
              QString("Title:メモ\r\nLast-Modified:\r\nCursorPos:0\r\n\r\n本文").toUtf8());
}

// Every failed write keeps the old file and reports the language's error number; all of these
// happen for root too.
TEST(MemoFile, FailedWritesKeepTheOldFile) {
    const struct {
        const char* name;
        int number;
        std::function<void(const QString&)> arrange;
    } rows[] = {
        {"readonly", 70,
         [](const QString& p) { QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup); }},
        {"nospace", 61,
         [](const QString& p) { platform::injectFileFault(p, platform::FileStep::Write, ENOSPC); }},
        {"cannotreplace", 75,
         [](const QString& p) { platform::injectFileFault(p, platform::FileStep::Rename, EIO); }},
    };
    for (const auto& row : rows) {
        const QString path = testsupport::freshFolder() + "/memo.txt";
        testsupport::writeFile(path, "Title:old\r\n\r\nkeep me");
        row.arrange(path);
        QList<memo::MemoRecord> memos{record("new", "", "x")};
        const auto error = memo::WriteMemoFile(path, memos);
        platform::clearFileFaults();
        ASSERT_TRUE(error.has_value()) << row.name;
        EXPECT_EQ(error->number, row.number) << row.name;
        EXPECT_FALSE(error->description.isEmpty()) << row.name;
        EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:old\r\n\r\nkeep me")) << row.name;
    }
}

TEST(MemoFile, WriteThatRunsOutOfSpaceKeepsTheOldFileAndReportsIt) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:old\r\n\r\nkeep me");
    QList<memo::MemoRecord> memos{record("new", "", QString(8192, u'x').toUtf8().constData())};
    std::optional<memo::MemoFileError> error;
    {
        testsupport::FileSizeLimit limit(64);
        error = memo::WriteMemoFile(path, memos);
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 61);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:old\r\n\r\nkeep me"));
}
