// A script that never ends does not hang scrivlet-cli: the time limit or Ctrl+C stops it, the rest
// of the line still runs, and the exit code says a script was stopped.

#include "CliFixture.h"
#include "cli/CliCommandLine.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QProcess>

#include <csignal>

using namespace clitest;

namespace {

class CliTimeLimit : public ProgramFolderTest {};

TEST_F(CliTimeLimit, EndlessScriptsAreStoppedAndTheLineGoesOn) {
    struct Case {
        const char* name;
        QByteArray script;
        QString line;
        int code;
        QString out;
        bool prose; // the line is filed in the memo file despite the stop
    } cases[] = {
        {"loopAtTheTopOfTheScriptFile", "Do: Loop\r\n", QStringLiteral("今日は「会議」。★"),
         cli::ScriptStopped, QString(), true},
        {"loopInAFunctionTheLineCalls",
         "Function Spin(): Do: Loop: End Function\r\nFunction One(): One = 1: End Function\r\n",
         QStringLiteral("Spin()|One()+1"), cli::ScriptStopped, QStringLiteral("2\n"), false},
        {"noLoopNoStop", "Function One(): One = 1: End Function\r\n", QStringLiteral("One()+1"),
         cli::PieceRan, QStringLiteral("2\n"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        writeScript(c.script);
        const CliResult r =
            runCliCollecting({QStringLiteral("--dir"), folder, QStringLiteral("--time-limit"),
                              QStringLiteral("0.3"), QStringLiteral("--"), c.line});
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err.contains(QStringLiteral("--time-limit")), c.code == cli::ScriptStopped)
            << r.err.toStdString();
        const QString memo =
            platform::decodeText(testsupport::readFile(path(QStringLiteral("scrivlet.txt")))).text;
        EXPECT_EQ(memo.contains(c.line), c.prose) << memo.toStdString();
    }
}

TEST(CliTimeLimitOption, IsParsedAndCheckedLikeEveryOption) {
    using cli::parseCommandLine;
    EXPECT_EQ(parseCommandLine({"x"}).timeLimit, cli::kDefaultTimeLimit);
    EXPECT_EQ(parseCommandLine({"--time-limit", "2.5", "x"}).timeLimit,
              std::chrono::milliseconds(2500));
    EXPECT_EQ(parseCommandLine({"--time-limit=0", "x"}).timeLimit, std::chrono::milliseconds(0));
    for (const char* bad :
         {"--time-limit=-1", "--time-limit=ten", "--time-limit=", "--time-limit"}) {
        const cli::CliCommandLine parsed = parseCommandLine({bad, "x"});
        EXPECT_EQ(parsed.action, cli::CliCommandLine::Action::UsageError) << bad;
        EXPECT_TRUE(parsed.error.contains("--time-limit")) << bad;
    }
}

// Ctrl+C in a terminal: the running script stops at once, even with no limit, and the program
// ends by itself with its own exit code.
TEST_F(CliTimeLimit, InterruptStopsTheRunningScriptCleanly) {
    writeScript("Function Spin(): Do: Loop: End Function\r\n");
    QProcess process;
    process.start(QStringLiteral(SCRIVLET_CLI_PATH),
                  {QStringLiteral("--dir"), folder, QStringLiteral("--time-limit"),
                   QStringLiteral("0"), QStringLiteral("Spin()|1+1")});
    ASSERT_TRUE(process.waitForStarted());
    // Give it time to be inside the loop; a Ctrl+C before the run would end it as usual.
    (void)process.waitForFinished(1500);
    ASSERT_EQ(process.state(), QProcess::Running) << "an endless loop ended by itself";
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000)) << "Ctrl+C did not stop the script";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), cli::ScriptStopped);
    EXPECT_EQ(process.readAllStandardOutput(), QByteArray("2\n"));
    EXPECT_TRUE(process.readAllStandardError().contains("Ctrl+C"));
}

} // namespace
