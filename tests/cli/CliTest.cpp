#include "CliFixture.h"
#include "DesktopSandbox.h"
#include "TestEnvironment.h"
#include "cli/CliCommandLine.h"
#include "cli/CliRun.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace cli;
using namespace clitest;

namespace {

TEST(CliCommandLine, Parsing) {
    using A = CliCommandLine::Action;
    struct Case {
        QStringList args;
        A action;
        QString line;
        QString folder;
        bool dryRun;
        QString scriptFile = {};
        QStringList scriptArguments = {};
    } cases[] = {
        {{"1+1"}, A::Run, "1+1", {}, false},
        {{"g", "hello", "world"}, A::Run, "g hello world", {}, false},
        {{"--dry-run", "--dir", "/x", "a|b"}, A::Run, "a|b", "/x", true},
        {{"--dir=/y", "a"}, A::Run, "a", "/y", false},
        {{"--", "--help"}, A::Run, "--help", {}, false},
        {{"-", "x"}, A::Run, "- x", {}, false},
        {{"a", "--help"}, A::Help, {}, {}, false},
        {{"--version", "x"}, A::Version, {}, {}, false},
        {{}, A::UsageError, {}, {}, false},
        {{"--dry-run"}, A::UsageError, {}, {}, true},
        {{"--dir"}, A::UsageError, {}, {}, false},
        {{"--dir="}, A::UsageError, {}, {}, false},
        {{"--verbose", "x"}, A::UsageError, {}, {}, false},
        {{"--vbs", "f.vbs"}, A::RunScript, {}, {}, false, "f.vbs"},
        {{"--dir", "/d", "--vbs", "f.vbs", "a", "--help", "--", "--vbs"},
         A::RunScript,
         {},
         "/d",
         false,
         "f.vbs",
         {"a", "--help", "--", "--vbs"}},
        {{"--dry-run", "--vbs", "--dry-run"}, A::RunScript, {}, {}, true, "--dry-run"},
        {{"--vbs"}, A::UsageError, {}, {}, false},
        {{"line", "--vbs", "f.vbs"}, A::UsageError, {}, {}, false},
    };
    for (const Case& c : cases) {
        const CliCommandLine parsed = parseCommandLine(c.args);
        const std::string where = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(parsed.action, c.action) << where;
        if (c.action == A::Run || c.action == A::RunScript) {
            EXPECT_EQ(parsed.line, c.line) << where;
            EXPECT_EQ(parsed.folder, c.folder) << where;
            EXPECT_EQ(parsed.dryRun, c.dryRun) << where;
            EXPECT_EQ(parsed.scriptFile, c.scriptFile) << where;
            EXPECT_EQ(parsed.scriptArguments, c.scriptArguments) << where;
        }
        EXPECT_EQ(parsed.error.isEmpty(), c.action != A::UsageError) << where;
    }
}

class CliRunTest : public testsupport::SandboxedDesktopTest {
protected:
    void SetUp() override {
        SandboxedDesktopTest::SetUp();
        folder = testsupport::freshFolder(QStringLiteral("program"));
    }
    CliResult run(const QStringList& args) { return runCliCollecting(args); }
    void writeSettings(const QByteArray& bytes) {
        testsupport::writeFile(folder + QStringLiteral("/scrivlet.ini"), bytes);
    }

    QString folder;
};

TEST_F(CliRunTest, HelpAndUsageErrors) {
    const CliResult help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.code, PieceRan);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: scrivlet-cli")));
    for (const char* word : {"--dry-run", "--vbs FILE", "WScript.Arguments", "Exit status"})
        EXPECT_TRUE(help.out.contains(QLatin1String(word))) << word;

    for (const QStringList& args :
         {QStringList{}, QStringList{QStringLiteral("--nope"), QStringLiteral("x")},
          QStringList{QStringLiteral("--dir"), folder + QStringLiteral("/missing"),
                      QStringLiteral("x")}}) {
        const CliResult r = run(args);
        EXPECT_EQ(r.code, UsageError) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("scrivlet-cli: ")));
    }
}

TEST_F(CliRunTest, DryRunListsRequestsAndStartsNothing) {
    writeSettings("[Command]\r\nm=Mark,scrivlet-mark-prog dry %a\r\n");
    const CliResult r =
        run({QStringLiteral("--dir"), folder, QStringLiteral("--dry-run"), QStringLiteral("m 1")});
    EXPECT_EQ(r.code, PieceRan);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("open\tscrivlet-mark-prog dry 1\t\trefused"));
    EXPECT_EQ(lines[1], QStringLiteral("open\tscrivlet-mark-prog\tdry 1\tstart program ") +
                            desktop->binDir + QStringLiteral("/scrivlet-mark-prog dry 1"));
    QThread::msleep(200);
    EXPECT_FALSE(desktop->hasMark(QStringLiteral("dry")));
}

TEST_F(CliRunTest, RealRunStartsTheProgram) {
    writeSettings("[Command]\r\nm=Mark,scrivlet-mark-prog real-%a x\r\n");
    const CliResult r = run({QStringLiteral("--dir"), folder, QStringLiteral("m a|m b")});
    EXPECT_EQ(r.code, PieceRan);
    EXPECT_TRUE(r.out.isEmpty()); // nothing evaluated, nothing written back
    for (const char* mark : {"real-a", "real-b"})
        EXPECT_EQ(desktop->waitForMark(QLatin1String(mark)), QStringList{QStringLiteral("x")})
            << mark;
}

TEST_F(CliRunTest, NothingRanIsExitOne) {
    struct Case {
        const char* line;
        const char* errContains;
    } cases[] = {
        {"scrivletnosuchword", ""},
        {"   ", ""},
        {"CInt(\"x\")", "Error Number 13:"},
    };
    for (const auto& c : cases) {
        const CliResult r = run({QStringLiteral("--dir"), folder, QString::fromUtf8(c.line)});
        EXPECT_EQ(r.code, NothingRan) << c.line;
        EXPECT_TRUE(r.out.isEmpty()) << c.line;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errContains))) << c.line;
    }
}

TEST_F(CliRunTest, SettingsAreNeverWritten) {
    // Broken options and a command line without a comma: the window would repair and drop them;
    // the console only reads.
    const QByteArray settings =
        "; mine\r\n[Options]\r\nTopMost=maybe\r\nMRU=99999\r\n"
        "[Command]\r\nbroken\r\nnocomma=xyz\r\nm=Mark,scrivlet-mark-prog w\r\n"
        "[MRU]\r\n1=old line\r\n";
    writeSettings(settings);
    run({QStringLiteral("--dir"), folder, QStringLiteral("m")});
    run({QStringLiteral("--dir"), folder, QStringLiteral("nocomma|今日は 晴れ|1+1")});
    run({QStringLiteral("--vbs"), folder + QStringLiteral("/none.vbs")});
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/scrivlet.ini")), settings);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("scrivlet.ini"), QStringLiteral("scrivlet.txt")}));

    // Without a settings file none is created.
    const QString empty = testsupport::freshFolder(QStringLiteral("empty"));
    run({QStringLiteral("--dir"), empty, QStringLiteral("x")});
    EXPECT_TRUE(QDir(empty).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(CliRunTest, TheExecutable) {
    writeSettings("[Command]\r\nm=Mark,scrivlet-mark-prog exe %a\r\n");
    testsupport::writeFile(folder + QStringLiteral("/scrivlet.vbs"),
                           "Function Twice(x): Twice = x*2: End Function\r\n");
    testsupport::writeFile(folder + QStringLiteral("/job.vbs"),
                           "WScript.Echo WScript.Arguments(0)\r\nWScript.Quit 7\r\n");
    struct Case {
        QStringList args;
        int code;
        QByteArray out;
        QByteArray err;
    } cases[] = {
        {{"--dir", folder, "m", "a b"}, 0, "", ""},
        {{"--dir", folder, "1+1|2*3"}, 0, "2 |6\n", ""},
        {{"--dir", folder, "Twice(21)"}, 0, "42\n", ""},
        {{"--dir", folder, "\"abc\"*2"}, 1, "", "Error Number 13:型が一致しません。\n"},
        {{"--dir", folder, "1+1|日記の 一行"}, 0, "2\n", ""},
        {{"--vbs", folder + "/job.vbs", "引数"}, 7, "引数\n", ""},
        {{"--bad"}, 2, "", "scrivlet-cli: unknown option --bad\n"},
    };
    for (const Case& c : cases) {
        const std::string where = c.args.join(QLatin1Char(' ')).toStdString();
        QProcess process;
        process.start(QStringLiteral(SCRIVLET_CLI_PATH), c.args);
        ASSERT_TRUE(process.waitForFinished(20000)) << where;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << where;
        EXPECT_EQ(process.exitCode(), c.code) << where;
        EXPECT_EQ(process.readAllStandardOutput(), c.out) << where;
        EXPECT_TRUE(process.readAllStandardError().startsWith(c.err)) << where;
    }
    // The desktop's language decides the texts: English script errors and English words filed
    // as prose under en_US, the Japanese texts under ja_JP.
    const struct {
        const char* lang;
        const char* line;
        int code;
        QByteArray err;
    } languages[] = {
        {"en_US.UTF-8", "\"abc\"*2", 1, "Error Number 13:Type mismatch\n"},
        {"en_US.UTF-8", "2 +* 3", 1, "Error Number 1023:Expected expression\n"},
        {"en_US.UTF-8", "buy milk tomorrow", 0, ""},
        {"ja_JP.UTF-8", "\"abc\"*2", 1, "Error Number 13:型が一致しません。\n"},
        {"ja_JP.UTF-8", "buy milk", 1, "プログラム「buy」が見つかりません。\n"},
    };
    for (const auto& c : languages) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SCRIVLET_CLI_PATH),
                      {QStringLiteral("--dir"), folder, QString::fromUtf8(c.line)});
        ASSERT_TRUE(process.waitForFinished(20000)) << c.line;
        EXPECT_EQ(process.exitCode(), c.code) << c.lang << " " << c.line;
        EXPECT_EQ(process.readAllStandardError(), c.err) << c.lang << " " << c.line;
    }
    const QByteArray filed = testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"));
    EXPECT_TRUE(filed.contains("] buy milk tomorrow\r\n"));
    EXPECT_FALSE(filed.contains("] buy milk\r\n"));
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("exe")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    const QByteArray memo = testsupport::readFile(folder + QStringLiteral("/scrivlet.txt"));
    EXPECT_TRUE(memo.contains(QStringLiteral("] 日記の 一行\r\n").toUtf8()));
}

} // namespace
