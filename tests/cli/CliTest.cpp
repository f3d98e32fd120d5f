#include "DesktopSandbox.h"
#include "TestEnvironment.h"
#include "cli/CliCommandLine.h"
#include "cli/CliRun.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace cli;

namespace {

TEST(CliCommandLine, Parsing) {
    using A = CliCommandLine::Action;
    struct Case {
        QStringList args;
        A action;
        QString line;
        QString folder;
        bool dryRun;
    } cases[] = {
        {{"1+1"}, A::Run, "1+1", {}, false},
        {{"g", "hello", "world"}, A::Run, "g hello world", {}, false},
        {{"--dry-run", "--dir", "/x", "a|b"}, A::Run, "a|b", "/x", true},
        {{"--dir=/y", "a"}, A::Run, "a", "/y", false},
        {{"--", "--help"}, A::Run, "--help", {}, false},
        {{"-", "x"}, A::Run, "- x", {}, false},
        {{"a", "--help"}, A::Help, {}, {}, false},
        {{}, A::UsageError, {}, {}, false},
        {{"--dry-run"}, A::UsageError, {}, {}, true},
        {{"--dir"}, A::UsageError, {}, {}, false},
        {{"--dir="}, A::UsageError, {}, {}, false},
        {{"--verbose", "x"}, A::UsageError, {}, {}, false},
    };
    for (const Case& c : cases) {
        const CliCommandLine parsed = parseCommandLine(c.args);
        const std::string where = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(parsed.action, c.action) << where;
        if (c.action == A::Run) {
            EXPECT_EQ(parsed.line, c.line) << where;
            EXPECT_EQ(parsed.folder, c.folder) << where;
            EXPECT_EQ(parsed.dryRun, c.dryRun) << where;
        }
        EXPECT_EQ(parsed.error.isEmpty(), c.action != A::UsageError) << where;
    }
}

struct CliResult {
    int code;
    QString out;
    QString err;
};

class CliRunTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { desktop = new testsupport::DesktopSandbox; }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }
    void SetUp() override {
        for (const QString& entry : QDir(desktop->markDir).entryList(QDir::Files))
            QFile::remove(desktop->markDir + QLatin1Char('/') + entry);
        folder = testsupport::freshFolder(QStringLiteral("program"));
    }
    CliResult run(QStringList args) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int code = runCli(args, outStream, errStream);
        return {code, out, err};
    }
    void writeSettings(const QByteArray& bytes) {
        testsupport::writeFile(folder + QStringLiteral("/scrivlet.ini"), bytes);
    }

    static testsupport::DesktopSandbox* desktop;
    QString folder;
};
testsupport::DesktopSandbox* CliRunTest::desktop = nullptr;

TEST_F(CliRunTest, HelpAndUsageErrors) {
    const CliResult help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.code, PieceRan);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: scrivlet-cli")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("--dry-run")));

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
    writeSettings("[Command]\r\nm=Mark,scrivlet-mark-prog real %a\r\n");
    const CliResult r = run({QStringLiteral("--dir"), folder, QStringLiteral("m a|m b")});
    EXPECT_EQ(r.code, PieceRan);
    EXPECT_TRUE(r.out.isEmpty()); // nothing evaluated, nothing written back
    EXPECT_TRUE(desktop->waitForMark(QStringLiteral("real")).has_value());
}

TEST_F(CliRunTest, NothingRanIsExitOne) {
    struct Case {
        const char* line;
        const char* errContains;
    } cases[] = {
        {"scrivletnosuchword", ""},
        {"今日は 晴れ", "no memo store"},
        {"   ", ""},
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
    run({QStringLiteral("--dir"), folder, QStringLiteral("nocomma|今日は 晴れ")});
    EXPECT_EQ(testsupport::readFile(folder + QStringLiteral("/scrivlet.ini")), settings);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("scrivlet.ini")});

    // Without a settings file none is created.
    const QString empty = testsupport::freshFolder(QStringLiteral("empty"));
    run({QStringLiteral("--dir"), empty, QStringLiteral("x")});
    EXPECT_TRUE(QDir(empty).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(CliRunTest, TheExecutable) {
    writeSettings("[Command]\r\nm=Mark,scrivlet-mark-prog exe %a\r\n");
    QProcess process;
    process.start(QStringLiteral(SCRIVLET_CLI_PATH),
                  {QStringLiteral("--dir"), folder, QStringLiteral("m"), QStringLiteral("a b")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("exe")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    process.start(QStringLiteral(SCRIVLET_CLI_PATH), {QStringLiteral("--bad")});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 2);
}

} // namespace
