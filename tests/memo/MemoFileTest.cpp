#include "memo/MemoFile.h"

#include "MemoRecordPrinter.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

MemoRecord memo(const char* title, const char* modified, const char* text, int caret = 0) {
    return MemoRecord{q(title), q(modified), q(text), caret};
}

} // namespace

struct ParseCase {
    const char* name;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
    const char* piece;
    MemoRecord expected;
};

class ParseMemoTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseMemoTest, Parses) {
    const MemoRecord parsed = ParseMemo(q(GetParam().piece));
    EXPECT_EQ(parsed, GetParam().expected) << parsed;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseMemoTest,
    testing::Values(
        ParseCase{"FullHeader",
                  "Title:Shopping\r\nLast-Modified:2007-03-01\r\nCursorPos:4\r\n\r\nmilk\r\nbread",
                  memo("Shopping", "2007-03-01", "milk\r\nbread", 4)},
        ParseCase{"PlainWithoutBlankLine", "hello\r\nworld", memo("hello", "", "hello\r\nworld")},
        ParseCase{"OtherHeaderMakesPlain", "Title:x\r\nAuthor:me\r\n\r\nbody",
                  memo("Title:x", "", "Title:x\r\nAuthor:me\r\n\r\nbody")},
        ParseCase{"LowerCaseNameMakesPlain", "title:x\r\n\r\nbody",
                  memo("title:x", "", "title:x\r\n\r\nbody")},
        ParseCase{"LineWithoutColonMakesPlain", "Title:x\r\nnote\r\n\r\nbody",
                  memo("Title:x", "", "Title:x\r\nnote\r\n\r\nbody")},
        ParseCase{"ValueKeepsBlanksAndColons", "Title: a:b \r\n\r\nt", memo(" a:b ", "", "t")},
        ParseCase{"LastDuplicateWins", "Title:a\r\nTitle:b\r\n\r\nt", memo("b", "", "t")},
        ParseCase{"EmptyHeadGivesNoHeaders", "\r\n\r\nbody", memo("", "", "body")},
        ParseCase{"EmptyBody", "Title:t\r\nLast-Modified:m\r\nCursorPos:0\r\n\r\n",
                  memo("t", "m", "")},
        ParseCase{"CursorLetters", "CursorPos:abc\r\n\r\nhello", memo("", "", "hello", 0)},
        ParseCase{"CursorBlankSeven", "CursorPos: 7\r\n\r\nhello world",
                  memo("", "", "hello world", 7)},
        ParseCase{"CursorHalfToEven", "CursorPos:2.5\r\n\r\nhello", memo("", "", "hello", 2)},
        ParseCase{"CursorHalfToEvenUp", "CursorPos:3.5\r\n\r\nhello", memo("", "", "hello", 4)},
        ParseCase{"CursorNegativeToStart", "CursorPos:-3\r\n\r\nhello", memo("", "", "hello", 0)},
        ParseCase{"CursorBeyondTextToEnd", "CursorPos:99\r\n\r\nhello", memo("", "", "hello", 5)},
        ParseCase{"CursorHugeToEnd", "CursorPos:99999999999999\r\n\r\nhello",
                  memo("", "", "hello", 5)},
        ParseCase{"CursorHugeNegativeToStart", "CursorPos:-1E300\r\n\r\nhi", memo("", "", "hi", 0)},
        ParseCase{"DoubleDotLineUnescaped", "Title:t\r\n\r\na\r\n..\r\n..\r\nb",
                  memo("t", "", "a\r\n.\r\n.\r\nb")},
        ParseCase{"DotPrefixedLinesUnchanged", "Title:t\r\n\r\n.a\r\n...\r\n..b",
                  memo("t", "", ".a\r\n...\r\n..b")},
        ParseCase{"PlainTitleSkipsEmptyLines", "\r\n  \r\nx", memo("  ", "", "\r\n  \r\nx")},
        ParseCase{"EmptyPiece", "", memo("", "", "")},
        ParseCase{"Japanese", "Title:買い物\r\n\r\n牛乳", memo("買い物", "", "牛乳")}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
    const char* name;
    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }
    MemoRecord record;
    const char* expected;
};

class FormatMemoTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatMemoTest, Formats) {
    MemoRecord record = GetParam().record;
    EXPECT_EQ(FormatMemo(record).toStdString(), std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatMemoTest,
    testing::Values(
        FormatCase{
            "Header", memo("Shopping", "2007-03-01", "milk\r\nbread", 12),
            "Title:Shopping\r\nLast-Modified:2007-03-01\r\nCursorPos:12\r\n\r\nmilk\r\nbread"},
        FormatCase{"EmptyTitleFromFirstNonEmptyLine", memo("", "d", "\r\nfirst\r\n"),
                   "Title:first\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\n\r\nfirst\r\n"},
        FormatCase{"DotLinesEscaped", memo("t", "d", ".\r\n.\r\n.x"),
                   "Title:t\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\n..\r\n..\r\n.x"},
        FormatCase{"TitleLineBreaksFlattened", memo("a\r\nb", "d", "x"),
                   "Title:a b\r\nLast-Modified:d\r\nCursorPos:0\r\n\r\nx"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatMemo, FillsTheEmptyTitleIntoTheRecord) {
    MemoRecord record = memo("", "", "\r\nfirst");
    FormatMemo(record);
    EXPECT_EQ(record.Title, q("first"));
}

TEST(FirstNonEmptyLine, Table) {
    const std::pair<const char*, const char*> rows[] = {{"", ""},        {"\r\n\r\n", ""},
                                                        {"a\r\nb", "a"}, {"\r\n\r\nb\r\n", "b"},
                                                        {" \r\nb", " "}, {"only", "only"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(FirstNonEmptyLine(q(text)), q(expected)) << text;
}

TEST(MemoFileText, TwoMemosGiveOneSeparatorAndNoTrailingLineEnd) {
    QList<MemoRecord> memos{memo("a", "1", "x"), memo("b", "2", "y")};
    EXPECT_EQ(FormatMemoFileText(memos).toStdString(),
              "Title:a\r\nLast-Modified:1\r\nCursorPos:0\r\n\r\nx\r\n.\r\n"
              "Title:b\r\nLast-Modified:2\r\nCursorPos:0\r\n\r\ny");
}

TEST(MemoFileText, RoundTripKeepsMemosWithDotLines) {
    QList<MemoRecord> memos{memo("a", "1", ".\r\n.\r\n", 3), memo("b", "2", "..x\r\n.y"),
                            memo("c", "3", "")};
    const QList<MemoRecord> original = memos;
    EXPECT_EQ(ParseMemoFileText(FormatMemoFileText(memos)), original);
}

TEST(MemoFileText, SeparatorsMakePiecesEvenEmptyOnes) {
    const auto memos = ParseMemoFileText(q("a\r\n.\r\n\r\n.\r\nb"));
    ASSERT_EQ(memos.size(), 3);
    EXPECT_EQ(memos[0].Text, q("a"));
    EXPECT_EQ(memos[1].Text, q(""));
    EXPECT_EQ(memos[2].Text, q("b"));
}

TEST(MemoFileText, LoneLineFeedsCountAsLineEnds) {
    const auto memos = ParseMemoFileText(q("Title:a\n\nx\n.\nTitle:b\n\ny"));
    ASSERT_EQ(memos.size(), 2);
    EXPECT_EQ(memos[0], memo("a", "", "x"));
    EXPECT_EQ(memos[1], memo("b", "", "y"));
}

TEST(MemoFile, MissingAndEmptyFilesReadAsNoMemos) {
    const QString dir = testsupport::freshFolder();
    const auto missing = ReadMemoFile(dir + "/none.txt");
    EXPECT_TRUE(missing.ok());
    EXPECT_TRUE(missing.memos.isEmpty());
    testsupport::writeFile(dir + "/empty.txt", QByteArray());
    const auto empty = ReadMemoFile(dir + "/empty.txt");
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.memos.isEmpty());
}

TEST(MemoFile, EmptyNameFailsWith53) {
    EXPECT_EQ(ReadMemoFile(QString()).error->number, 53);
    QList<MemoRecord> memos{memo("a", "", "")};
    EXPECT_EQ(WriteMemoFile(QString(), memos)->number, 53);
}

TEST(MemoFile, FolderOrUnreadableFileIsAnError) {
    const QString dir = testsupport::freshFolder();
    EXPECT_FALSE(ReadMemoFile(dir).ok());
    if (::geteuid() == 0)
        return; // root reads every file
    const QString path = dir + "/locked.txt";
    testsupport::writeFile(path, "x");
    QFile::setPermissions(path, QFile::WriteOwner);
    const auto content = ReadMemoFile(path);
    ASSERT_FALSE(content.ok());
    EXPECT_EQ(content.error->number, 70);
}

TEST(MemoFile, WritesCp932ForNewFilesAndKeepsTheEncodingRead) {
    const QString dir = testsupport::freshFolder();
    QList<MemoRecord> memos{memo("メモ", "", "本文")};
    ASSERT_FALSE(WriteMemoFile(dir + "/new.txt", memos));
    const QByteArray cp932 = testsupport::readFile(dir + "/new.txt");
    EXPECT_TRUE(cp932.startsWith("Title:\x83\x81\x83\x82\r\n"));

    testsupport::writeFile(dir + "/utf8.txt", QString("Title:メモ\r\n\r\n本文").toUtf8());
    auto content = ReadMemoFile(dir + "/utf8.txt");
    ASSERT_TRUE(content.ok());
    EXPECT_EQ(content.encoding, platform::TextEncoding::Utf8);
    EXPECT_EQ(content.memos.value(0).Text, q("本文"));
    ASSERT_FALSE(WriteMemoFile(dir + "/utf8.txt", content.memos, content.encoding));
    EXPECT_EQ(testsupport::readFile(dir + "/utf8.txt"),
              QString("Title:メモ\r\nLast-Modified:\r\nCursorPos:0\r\n\r\n本文").toUtf8());
}

TEST(MemoFile, WriteThatRunsOutOfSpaceKeepsTheOldFileAndReportsIt) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:old\r\n\r\nkeep me");
    QList<MemoRecord> memos{memo("new", "", QString(8192, u'x').toUtf8().constData())};
    std::optional<MemoFileError> error;
    {
        testsupport::FileSizeLimit limit(64);
        error = WriteMemoFile(path, memos);
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->description.isEmpty());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:old\r\n\r\nkeep me"));
}

TEST(MemoFile, WriteIntoReadOnlyFolderKeepsTheOldFileAndReportsIt) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    const QString dir = testsupport::freshFolder();
    const QString path = dir + "/memo.txt";
    testsupport::writeFile(path, "old");
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    QList<MemoRecord> memos{memo("new", "", "")};
    const auto error = WriteMemoFile(path, memos);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(error.has_value());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
}
