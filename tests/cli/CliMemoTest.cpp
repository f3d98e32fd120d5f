// Prose lines: filed in the memo file, or handed to a running window; never lost silently.

#include "CliFixture.h"
#include "EverydayLines.h"
#include "app/instance/CPrevInstance.h"
#include "memo/MemoFile.h"
#include "platform/FileFaults.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <future>

using namespace clitest;
using namespace std::chrono_literals;

namespace {

const QRegularExpression
    kStampedLine(QStringLiteral("^\\[\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\] (.*)$"));

// The log lines of memo `index` (from 1), stamps removed; fails when a line has no stamp.
QStringList loggedLines(const QString& memoFile, int index = 1) {
    const memo::MemoFileContent content = memo::ReadMemoFile(memoFile);
    EXPECT_TRUE(content.ok());
    if (content.memos.size() < index)
        return {};
    QStringList lines;
    for (const QString& line :
         content.memos[index - 1].Text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = kStampedLine.match(line);
        EXPECT_TRUE(match.hasMatch()) << line.toStdString();
        lines.append(match.captured(1));
    }
    return lines;
}

// Two memos in CP932; the line goes to the first.
const QByteArray kTwoMemos =
    platform::toAnsi(u"Title:買い物\r\nLast-Modified:2007-03-01\r\nCursorPos:0\r\n\r\n牛乳\r\n"
                     u".\r\nTitle:Ideas\r\nLast-Modified:2007-03-02\r\nCursorPos:0\r\n\r\n"
                     u"..\r\nsecond");

class CliMemo : public ProgramFolderTest {};

TEST_F(CliMemo, ProseIsFiledWithAStamp) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    const CliResult first = runLine(QStringLiteral("今日は 晴れ"));
    EXPECT_EQ(first.code, cli::PieceRan);
    EXPECT_TRUE(first.out.isEmpty()); // the window leaves the typed line
    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    const CliResult second = runLine(QStringLiteral("1+1|明日は 雨"));
    EXPECT_EQ(second.code, cli::PieceRan);
    EXPECT_EQ(second.out, QStringLiteral("2\n"));
    EXPECT_EQ(loggedLines(memo),
              (QStringList{QStringLiteral("今日は 晴れ"), QStringLiteral("明日は 雨")}));
    // A new memo file is UTF-8 without a byte-order mark, like the window's.
    const QByteArray bytes = testsupport::readFile(memo);
    EXPECT_TRUE(bytes.startsWith("Title:[")) << bytes.left(8).toStdString();
    EXPECT_TRUE(bytes.contains(QStringLiteral("今日は 晴れ\r\n").toUtf8()));
}

// Through the console companion, with the real desktop behind it: every prose line of an
// ordinary day is filed as typed, in order; calculations print their result and start nothing
// ("date" and "true" name built-ins, not the programs on PATH).
TEST_F(CliMemo, EverydayLines) {
    writeScript(everyday::kUserScript);
    // A memo file in UTF-8, which holds every one of them (emoji and Korean are beyond CP932).
    testsupport::writeFile(
        path(QStringLiteral("scrivlet.txt")),
        QStringLiteral("Title:日々\r\nLast-Modified:\r\nCursorPos:0\r\n\r\n").toUtf8());
    QStringList filed;
    for (const char* prose : everyday::kProse) {
        const CliResult result = runLine(QString::fromUtf8(prose));
        EXPECT_EQ(result.code, cli::PieceRan) << prose;
        EXPECT_EQ(result.out, QString()) << prose;
        EXPECT_EQ(result.err, QString()) << prose;
        filed << QString::fromUtf8(prose);
    }
    EXPECT_EQ(loggedLines(path(QStringLiteral("scrivlet.txt"))), filed);
    for (const everyday::Calculation& calculation : everyday::kCalculations) {
        const CliResult result = runLine(QString::fromUtf8(calculation.line));
        EXPECT_EQ(result.out, calculation.result + QLatin1Char('\n')) << calculation.line;
        EXPECT_EQ(result.err, QString()) << calculation.line;
    }
}

TEST_F(CliMemo, ExistingFileKeepsItsOtherMemosAndEncoding) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    testsupport::writeFile(memo, kTwoMemos);
    ASSERT_EQ(runLine(QStringLiteral("メモ 一行")).code, cli::PieceRan);
    const memo::MemoFileContent content = memo::ReadMemoFile(memo);
    ASSERT_TRUE(content.ok());
    ASSERT_EQ(content.memos.size(), 2);
    EXPECT_EQ(content.memos[0].Title, QStringLiteral("買い物"));
    EXPECT_TRUE(
        content.memos[0].Text.startsWith(QStringLiteral("牛乳["))) // no line end is added first
        << content.memos[0].Text.toStdString();
    EXPECT_TRUE(content.memos[0].Text.endsWith(QStringLiteral("] メモ 一行\r\n")));
    EXPECT_EQ(content.memos[1].Text, QStringLiteral(".\r\nsecond"));
    EXPECT_EQ(content.encoding, platform::TextEncoding::Cp932);
}

TEST_F(CliMemo, MemoFileNameOption) {
    const QString elsewhere = testsupport::freshFolder(QStringLiteral("memos"));
    struct Case {
        QString option;
        QString file;
    } cases[] = {
        {elsewhere + QStringLiteral("/mine.txt"), elsewhere + QStringLiteral("/mine.txt")},
        {QStringLiteral("relative.txt"), path(QStringLiteral("relative.txt"))},
        {QString(), path(QStringLiteral("scrivlet.txt"))},
        {QStringLiteral("~/memos/home.txt"), QDir::homePath() + QStringLiteral("/memos/home.txt")},
    };
    QDir().mkpath(QDir::homePath() + QStringLiteral("/memos"));
    for (const Case& c : cases) {
        writeSettings("[Options]\r\nMemoFileName=" + c.option.toUtf8() + "\r\n");
        EXPECT_EQ(runLine(QStringLiteral("覚え 書き")).code, cli::PieceRan)
            << c.option.toStdString();
        EXPECT_EQ(loggedLines(c.file), QStringList{QStringLiteral("覚え 書き")})
            << c.option.toStdString();
        QFile::remove(c.file);
    }
}

TEST_F(CliMemo, AFailedSaveLeavesTheFileAndSaysSo) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    testsupport::writeFile(memo, kTwoMemos);
    CliResult r;
    {
        testsupport::FileSizeLimit full(40);
        r = runLine(QStringLiteral("1+1|消えては ならない行"));
    }
    EXPECT_EQ(r.code, cli::MemoNotFiled);
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
    EXPECT_TRUE(r.err.contains(QStringLiteral("not filed: 消えては ならない行")))
        << r.err.toStdString();
    EXPECT_EQ(testsupport::readFile(memo), kTwoMemos);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("scrivlet.txt")});

    // A memo folder that does not exist.
    writeSettings("[Options]\r\nMemoFileName=" + path(QStringLiteral("no/such/memo.txt")).toUtf8() +
                  "\r\n");
    const CliResult missing = runLine(QStringLiteral("行き場の ない行"));
    EXPECT_EQ(missing.code, cli::MemoNotFiled);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("not filed: 行き場の ない行")));

    // A memo file that cannot be read (refused even for root) is never written.
    writeSettings("");
    platform::injectFileFault(memo, platform::FileStep::Read, EACCES);
    const CliResult unreadable = runLine(QStringLiteral("読めない ファイル"));
    platform::clearFileFaults();
    EXPECT_EQ(unreadable.code, cli::MemoNotFiled);
    EXPECT_TRUE(unreadable.err.contains(QStringLiteral("not filed: 読めない ファイル")));
    EXPECT_EQ(testsupport::readFile(memo), kTwoMemos);
}

// Text the code page cannot hold moves the memo file to UTF-8 instead of becoming "?".
TEST_F(CliMemo, TextBeyondTheCodePageIsFiledIntact) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    const QString line = QString::fromUtf8("メモ café 😀 한국어 ü 1〜2");
    ASSERT_EQ(runLine(line).code, cli::PieceRan);
    EXPECT_EQ(loggedLines(memo), QStringList{line});
    EXPECT_EQ(memo::ReadMemoFile(memo).encoding, platform::TextEncoding::Utf8);
    EXPECT_FALSE(testsupport::readFile(memo).contains('?'));
}

TEST_F(CliMemo, TheSettingsFileIsNeverTakenForTheMemoFile) {
    const QByteArray settings = "[Options]\r\nMemoFileName=scrivlet.ini\r\n";
    writeSettings(settings);
    const CliResult r = runLine(QStringLiteral("設定を 壊さない"));
    EXPECT_EQ(r.code, cli::MemoNotFiled);
    EXPECT_TRUE(r.err.contains(QStringLiteral("settings file")));
    EXPECT_EQ(testsupport::readFile(path(QStringLiteral("scrivlet.ini"))), settings);
}

// A running window as far as the channel is concerned: the test process listens where the window
// would and records what it is handed.
class FakeWindow {
public:
    enum class Takes { SameFile, NothingTakesLines };
    FakeWindow(const QString& memoFile, Takes takes) : m_memoFile(memoFile) {
        if (takes == Takes::SameFile) {
            QObject::connect(&m_guard, &CPrevInstance::MemoLineArrived,
                             [this](const QString& file, const QString& line, bool& appended,
                                    QString&, const QString& memoTitle) {
                                 if (!CPrevInstance::isSameFile(file, m_memoFile))
                                     return;
                                 lines.append(line);
                                 titles.append(memoTitle);
                                 appended = true;
                             });
        }
        EXPECT_FALSE(m_guard.CheckPrevInstance(nullptr));
        EXPECT_TRUE(m_guard.isListening());
    }
    QStringList lines;
    QStringList titles; // the memo each line was for ("" for the current one)

private:
    QString m_memoFile;
    CPrevInstance m_guard;
};

// The cli blocks until the window replies, and the window replies from this thread's event loop.
CliResult runWhileServing(const QStringList& args) {
    std::future<CliResult> result =
        std::async(std::launch::async, [args] { return runCliCollecting(args); });
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return result.wait_for(0ms) == std::future_status::ready; }, 30000));
    return result.get();
}

TEST_F(CliMemo, ARunningWindowWithTheSameFileTakesTheLine) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    FakeWindow window(memo, FakeWindow::Takes::SameFile);
    const CliResult r =
        runWhileServing({QStringLiteral("--dir"), folder, QStringLiteral("1+1|窓に 渡す行")});
    EXPECT_EQ(r.code, cli::PieceRan);
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
    EXPECT_EQ(window.lines, QStringList{QStringLiteral("窓に 渡す行")});
    EXPECT_FALSE(QFile::exists(memo)) << "the window files it, not the console";
}

TEST_F(CliMemo, AWindowWithAnotherFileLeavesTheLineToTheConsole) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    FakeWindow window(testsupport::freshFolder() + QStringLiteral("/scrivlet.txt"),
                      FakeWindow::Takes::SameFile);
    const CliResult r =
        runWhileServing({QStringLiteral("--dir"), folder, QStringLiteral("別の 窓")});
    EXPECT_EQ(r.code, cli::PieceRan);
    EXPECT_TRUE(window.lines.isEmpty());
    EXPECT_EQ(loggedLines(memo), QStringList{QStringLiteral("別の 窓")});
}

TEST_F(CliMemo, AWindowThatDoesNotTakeTheLineIsAnErrorAndNothingIsWritten) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    testsupport::writeFile(memo, kTwoMemos);
    FakeWindow window(memo, FakeWindow::Takes::NothingTakesLines);
    const CliResult r =
        runWhileServing({QStringLiteral("--dir"), folder, QStringLiteral("宙に 浮く行")});
    EXPECT_EQ(r.code, cli::MemoNotFiled);
    EXPECT_TRUE(r.err.contains(QStringLiteral("did not take")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("not filed: 宙に 浮く行")));
    EXPECT_EQ(testsupport::readFile(memo), kTwoMemos);
}

// --memo files prose into the memo of that title: an existing one (the others unchanged), a new
// one at the end when none has it, and the same one again next time.
TEST_F(CliMemo, MemoOptionFilesIntoTheTitledMemo) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    testsupport::writeFile(memo, kTwoMemos);
    const auto fileInto = [&](const QString& title, const QString& line) {
        return runCliCollecting({QStringLiteral("--dir"), folder, QStringLiteral("--memo"), title,
                                 QStringLiteral("--"), line});
    };
    CliResult r = fileInto(QStringLiteral("Ideas"), QStringLiteral("新しい 案"));
    EXPECT_EQ(r.code, cli::PieceRan) << r.err.toStdString();
    r = fileInto(QStringLiteral("電話 ☎"), QStringLiteral("田中さん 090−1234〜5678"));
    EXPECT_EQ(r.code, cli::PieceRan) << r.err.toStdString();
    r = fileInto(QStringLiteral("電話 ☎"), QStringLiteral("1+1|鈴木さん に 折り返し"));
    EXPECT_EQ(r.code, cli::PieceRan);
    EXPECT_EQ(r.out, QStringLiteral("2\n")); // only prose goes to the memo
    const memo::MemoFileContent content = memo::ReadMemoFile(memo);
    ASSERT_TRUE(content.ok());
    ASSERT_EQ(content.memos.size(), 3);
    EXPECT_EQ(content.memos[0].Text, QStringLiteral("牛乳"));
    EXPECT_TRUE(content.memos[1].Text.startsWith(QStringLiteral(".\r\nsecond[")));
    EXPECT_TRUE(content.memos[1].Text.endsWith(QStringLiteral("] 新しい 案\r\n")));
    EXPECT_EQ(content.memos[2].Title, QStringLiteral("電話 ☎"));
    EXPECT_EQ(loggedLines(memo, 3), (QStringList{QStringLiteral("田中さん 090−1234〜5678"),
                                                 QStringLiteral("鈴木さん に 折り返し")}));

    // Without a memo file the titled memo is the file's first and only one.
    QFile::remove(memo);
    EXPECT_EQ(fileInto(QStringLiteral("買い物"), QStringLiteral("パン を 買う")).code,
              cli::PieceRan);
    const memo::MemoFileContent fresh = memo::ReadMemoFile(memo);
    ASSERT_TRUE(fresh.ok());
    ASSERT_EQ(fresh.memos.size(), 1);
    EXPECT_EQ(fresh.memos[0].Title, QStringLiteral("買い物"));
    EXPECT_EQ(loggedLines(memo), QStringList{QStringLiteral("パン を 買う")});
}

TEST_F(CliMemo, MemoOptionTravelsToTheRunningWindow) {
    const QString memo = path(QStringLiteral("scrivlet.txt"));
    FakeWindow window(memo, FakeWindow::Takes::SameFile);
    const CliResult r = runWhileServing({QStringLiteral("--dir"), folder, QStringLiteral("--memo"),
                                         QStringLiteral("会議 ★"), QStringLiteral("窓に 渡す行")});
    EXPECT_EQ(r.code, cli::PieceRan) << r.err.toStdString();
    EXPECT_EQ(window.lines, QStringList{QStringLiteral("窓に 渡す行")});
    EXPECT_EQ(window.titles, QStringList{QStringLiteral("会議 ★")});
    EXPECT_FALSE(QFile::exists(memo)) << "the window files it, not the console";
}

} // namespace
