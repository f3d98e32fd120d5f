#include "memo/MemoFileAppender.h"

#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
const QDateTime kNow(QDate(2007, 3, 1), QTime(14, 5, 9));
MemoClock fixedClock() {
    return [] { return kNow; };
}
} // namespace

TEST(MemoFileAppender, CreatesAMissingFileWithOneMemo) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    ASSERT_FALSE(MemoFileAppender(path, fixedClock()).append("hello"));
    EXPECT_EQ(testsupport::readFile(path),
              QByteArray("Title:[2007/03/01 14:05:09] hello\r\nLast-Modified:2007-03-01\r\n"
                         "CursorPos:29\r\n\r\n[2007/03/01 14:05:09] hello\r\n"));
}

TEST(MemoFileAppender, AppendsToMemoOneAndKeepsTheRest) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:a\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\nfirst\r\n.\r\n"
                                 "Title:b\r\nLast-Modified:y\r\nCursorPos:1\r\n\r\nsecond");
    ASSERT_FALSE(MemoFileAppender(path, fixedClock()).append(QString::fromUtf8("買い物")));
    const QByteArray bytes = testsupport::readFile(path);
    EXPECT_EQ(bytes.toStdString(),
              std::string("Title:a\r\nLast-Modified:2007-03-01\r\nCursorPos:32\r\n\r\n"
                          "first[2007/03/01 14:05:09] \x94\x83\x82\xa2\x95\xa8\r\n\r\n.\r\n"
                          "Title:b\r\nLast-Modified:y\r\nCursorPos:1\r\n\r\nsecond"));
}

TEST(MemoFileAppender, EmptyTextFilesNothing) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    EXPECT_FALSE(MemoFileAppender(path, fixedClock()).append(QString()));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(MemoFileAppender, ErrorsComeBackAndTheFileStays) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:a\r\n\r\nfirst");
    std::optional<MemoFileError> error;
    {
        testsupport::FileSizeLimit limit(8);
        error = MemoFileAppender(path, fixedClock()).append("hello");
    }
    EXPECT_TRUE(error.has_value());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:a\r\n\r\nfirst"));
    EXPECT_TRUE(MemoFileAppender(testsupport::freshFolder() + "/no/memo.txt").append("x"));
}
