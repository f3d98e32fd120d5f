#include "memo/MemoFiler.h"

#include "TestEnvironment.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {
const QDateTime kNow(QDate(2007, 3, 1), QTime(14, 5, 9));
memo::MemoClock fixedClock() {
    return [] { return kNow; };
}

struct Report {
    memo::MemoFiler::Failure failure;
    int number;
};

// A filer that records what it reports.
struct Filer {
    Filer() {
        filer.setFailureReporter([this](memo::MemoFiler::Failure failure,
                                        const memo::MemoFileError& error, const QString&) {
            reports.push_back({failure, error.number});
        });
    }
    memo::MemoFiler filer{fixedClock()};
    std::vector<Report> reports;
};
} // namespace

TEST(MemoFiler, CreatesAMissingFileWithOneMemo) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    ASSERT_TRUE(f.filer.fileLine("hello"));
    EXPECT_EQ(testsupport::readFile(path),
              QByteArray("Title:[2007/03/01 14:05:09] hello\r\nLast-Modified:2007-03-01\r\n"
                         "CursorPos:29\r\n\r\n[2007/03/01 14:05:09] hello\r\n"));
    EXPECT_TRUE(f.reports.empty());
}

TEST(MemoFiler, FilesIntoMemoOneAndKeepsTheRest) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:a\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\nfirst\r\n.\r\n"
                                 "Title:b\r\nLast-Modified:y\r\nCursorPos:1\r\n\r\nsecond");
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    ASSERT_TRUE(f.filer.fileLine(QString::fromUtf8("買い物")));
    const QByteArray bytes = testsupport::readFile(path);
    EXPECT_EQ(bytes.toStdString(),
              std::string("Title:a\r\nLast-Modified:2007-03-01\r\nCursorPos:32\r\n\r\n"
                          "first[2007/03/01 14:05:09] \xe8\xb2\xb7\xe3\x81\x84\xe7\x89\xa9\r\n"
                          "\r\n.\r\n"
                          "Title:b\r\nLast-Modified:y\r\nCursorPos:1\r\n\r\nsecond"));
}

// The encoding a filed line leaves the file in: a file the program makes, or one that says nothing
// of a code page yet (ASCII), is UTF-8 without a byte-order mark; a CP932 file stays CP932 until
// its text needs more; line ends stay CR LF.
TEST(MemoFiler, EncodingOfTheFileAfterALineIsFiled) {
    const QByteArray cp932Memo = "Title:\x83\x81\x83\x82\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\n"
                                 "\x8d\xa1\x93\xfa\r\n";
    const struct {
        const char* name;
        QByteArray before; // null: no file yet
        const char* line;
        platform::TextEncoding after;
    } rows[] = {
        {"new file", QByteArray(), "会議は「三時」から。★", platform::TextEncoding::Utf8},
        {"new file, ASCII line", QByteArray(), "buy milk", platform::TextEncoding::Utf8},
        {"ASCII file", "Title:a\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\nnote\r\n", "ﾒﾓ → 〜",
         platform::TextEncoding::Utf8},
        {"CP932 file", cp932Memo, "会議・資料※", platform::TextEncoding::Cp932},
        {"CP932 file, Korean", cp932Memo, "한국어 − emoji 😀", platform::TextEncoding::Utf8},
        {"UTF-8 file", QString("Title:メモ\r\n\r\n本文\r\n").toUtf8(), "café",
         platform::TextEncoding::Utf8},
        {"UTF-8 file with BOM", "\xEF\xBB\xBF" + QString("Title:メモ\r\n\r\n本文\r\n").toUtf8(),
         "…", platform::TextEncoding::Utf8Bom},
    };
    for (const auto& row : rows) {
        const QString path = testsupport::freshFolder() + "/memo.txt";
        if (!row.before.isNull())
            testsupport::writeFile(path, row.before);
        Filer f;
        f.filer.open(path);
        ASSERT_TRUE(f.filer.fileLine(QString::fromUtf8(row.line))) << row.name;
        const QByteArray bytes = testsupport::readFile(path);
        const platform::DecodedText decoded = platform::decodeText(bytes);
        EXPECT_EQ(decoded.encoding, row.after) << row.name;
        EXPECT_TRUE(decoded.text.contains(QString::fromUtf8(row.line) + "\r\n")) << row.name;
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << row.name;
    }
}

TEST(MemoFiler, EmptyTextFilesNothing) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    EXPECT_FALSE(f.filer.fileLine(QString()));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(f.reports.empty());
}

// A file that cannot be written stays as it was; the box comes once per run of failures, and
// again after a save that worked. A file that could not be read is said at every line.
TEST(MemoFiler, FailuresAreReportedAndTheFileStays) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:a\r\n\r\nfirst");
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    {
        testsupport::FileSizeLimit limit(8);
        EXPECT_FALSE(f.filer.fileLine("hello"));
        EXPECT_FALSE(f.filer.fileLine("again"));
    }
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:a\r\n\r\nfirst"));
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0].failure, memo::MemoFiler::Failure::NotSaved);
    ASSERT_TRUE(f.filer.fileLine("third"));
    EXPECT_TRUE(testsupport::readFile(path).contains("] again\r\n[2007/03/01 14:05:09] third"));

    Filer unread;
    EXPECT_TRUE(unread.filer.open(testsupport::freshFolder() + "/no/memo.txt"));
    EXPECT_FALSE(unread.filer.fileLine("x"));
    EXPECT_FALSE(unread.filer.fileLine("y"));
    ASSERT_EQ(unread.reports.size(), 2u);
    EXPECT_EQ(unread.reports[1].failure, memo::MemoFiler::Failure::NotReadable);
}

// A view attached later shows what the list holds; a line filed while the user types in the view
// follows the typing instead of replacing it.
TEST(MemoFiler, ViewShowsTheListAndTypingIsKept) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    testsupport::writeFile(path, "Title:一\r\n\r\n予定：会議\r\n.\r\nTitle:二\r\n\r\n★");
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    memo::HeadlessMemoView view;
    f.filer.attachView(view);
    EXPECT_EQ(view.titles(), (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
    EXPECT_EQ(view.text(), QStringLiteral("予定：会議"));
    EXPECT_EQ(view.counter(), QStringLiteral("1/2"));

    view.setText(QStringLiteral("予定：会議\r\n「見積」〜 − 한국어 😀\r\n"));
    ASSERT_TRUE(f.filer.fileLine(QStringLiteral("ｶﾀｶﾅ café")));
    const QString expected = QStringLiteral("予定：会議\r\n「見積」〜 − 한국어 😀\r\n"
                                            "[2007/03/01 14:05:09] ｶﾀｶﾅ café\r\n");
    EXPECT_EQ(view.text(), expected);
    const QString onDisk = QString::fromUtf8(testsupport::readFile(path));
    EXPECT_TRUE(onDisk.contains(expected)) << onDisk.toStdString();
}

// Another program holding the file (the running window) may take the line; fileHere files it
// here after all.
TEST(MemoFiler, HandOffDecidesWhereTheLineGoes) {
    const QString path = testsupport::freshFolder() + "/memo.txt";
    Filer f;
    ASSERT_FALSE(f.filer.open(path));
    QStringList handedOver;
    f.filer.setHandOff(
        [&](const QString& line, const QString&, const std::function<bool()>& fileHere) {
            if (line.startsWith(u'w'))
                return fileHere();
            handedOver << line;
            return true;
        });
    EXPECT_TRUE(f.filer.fileLine("to the window"));
    EXPECT_TRUE(f.filer.fileLine("written here"));
    EXPECT_EQ(handedOver, QStringList{"to the window"});
    const QByteArray bytes = testsupport::readFile(path);
    EXPECT_TRUE(bytes.contains("] written here"));
    EXPECT_FALSE(bytes.contains("to the window"));
}
