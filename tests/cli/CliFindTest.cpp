// scrivlet-cli --find: the matching memo lines as "title<TAB>line", with grep's exit status.

#include "CliFixture.h"
#include "platform/FileFaults.h"
#include "platform/TextCodec.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <cerrno>

using namespace clitest;

namespace {

class CliFind : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        testsupport::writeFile(
            path(QStringLiteral("scrivlet.txt")),
            QByteArray("Title:買い物\r\nLast-Modified:2026-12-01\r\nCursorPos:0\r\n\r\n"
                       "[2026/12/01 09:00:00] ﾊﾟﾝとＭＩＬＫ。\r\n"
                       "[2026/12/05 12:00:00] ぱんや「ｶﾌｪ」★\r\n"
                       ".\r\n"
                       "Title:連絡\r\nLast-Modified:2026-12-02\r\nCursorPos:0\r\n\r\n"
                       "[2026/12/03 08:00:00] パン屋さん 090−1234〜5678 😀\r\n"));
    }
    CliResult find(const QString& text) {
        return runCliCollecting({QStringLiteral("--dir"), folder, QStringLiteral("--find"), text});
    }
};

TEST_F(CliFind, PrintsMatchesNewestFirstWithGrepsExitStatus) {
    struct Case {
        const char* query;
        int code;
        const char* out;
    } cases[] = {
        {"パン", 0,
         "買い物\t[2026/12/05 12:00:00] ぱんや「ｶﾌｪ」★\n"
         "連絡\t[2026/12/03 08:00:00] パン屋さん 090−1234〜5678 😀\n"
         "買い物\t[2026/12/01 09:00:00] ﾊﾟﾝとＭＩＬＫ。\n"},
        {"milk", 0, "買い物\t[2026/12/01 09:00:00] ﾊﾟﾝとＭＩＬＫ。\n"},
        {"かふぇ", 0, "買い物\t[2026/12/05 12:00:00] ぱんや「ｶﾌｪ」★\n"},
        {"😀", 0, "連絡\t[2026/12/03 08:00:00] パン屋さん 090−1234〜5678 😀\n"},
        {"バン", 1, ""},
        {"紅茶", 1, ""},
    };
    for (const Case& c : cases) {
        const CliResult r = find(QString::fromUtf8(c.query));
        EXPECT_EQ(r.code, c.code) << c.query;
        EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.query;
        EXPECT_EQ(r.err, QString()) << c.query;
    }
}

TEST_F(CliFind, RefusesWhatCannotBeAnswered) {
    // Nothing to find, or a line beside the text: a usage error, and the reason.
    for (const QStringList& args :
         {QStringList{QStringLiteral("--find"), QString()},
          QStringList{QStringLiteral("--find"), QStringLiteral(" 　")},
          QStringList{QStringLiteral("--find")},
          QStringList{QStringLiteral("--find"), QStringLiteral("a"), QStringLiteral("b")},
          QStringList{QStringLiteral("--memo"), QStringLiteral("x"), QStringLiteral("--find=a")},
          QStringList{QStringLiteral("--memo"), QStringLiteral(" "), QStringLiteral("line")},
          QStringList{QStringLiteral("--memo"), QStringLiteral("a\nb"), QStringLiteral("line")}}) {
        const CliResult r = runCliCollecting(QStringList{QStringLiteral("--dir"), folder} + args);
        EXPECT_EQ(r.code, cli::UsageError) << args.join(u'|').toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("scrivlet-cli: --"))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    // A memo file that cannot be read is trouble, not "nothing found".
    platform::injectFileFault(path(QStringLiteral("scrivlet.txt")), platform::FileStep::Read,
                              EACCES);
    const CliResult unreadable = find(QStringLiteral("パン"));
    platform::clearFileFaults();
    EXPECT_EQ(unreadable.code, 2);
    EXPECT_TRUE(unreadable.err.contains(QStringLiteral("cannot read the memo file")));
}

// A line that names an installed application starts it (here: says what it would start); a
// localized name stays a memo. The real executable, with a desktop of its own.
TEST_F(CliFind, InstalledApplicationsStartByTheirMenuName) {
    const QString share = testsupport::freshFolder(QStringLiteral("share"));
    testsupport::writeFile(share + QStringLiteral("/applications/org.example.Files.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Files\nName[ja]=ファイル\n"
                           "Exec=/bin/true %U\n");
    testsupport::writeFile(share + QStringLiteral("/applications/org.example.Settings.desktop"),
                           "[Desktop Entry]\nType=Application\nName=設定\nExec=/bin/true\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), share);
    struct Case {
        const char* line;
        bool started;
    } cases[] = {{"Files", true}, {"files", true}, {"ファイル", false}, {"設定", false}};
    for (const Case& c : cases) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SCRIVLET_CLI_PATH),
                      {QStringLiteral("--dir"), folder, QStringLiteral("--dry-run"),
                       QString::fromUtf8(c.line)});
        ASSERT_TRUE(process.waitForFinished(20000)) << c.line;
        EXPECT_EQ(process.exitCode(), 0) << c.line;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(out.contains(QStringLiteral("start application org.example.Files.desktop")),
                  c.started)
            << c.line << ": " << out.toStdString();
        const QString memo =
            platform::decodeText(testsupport::readFile(path(QStringLiteral("scrivlet.txt")))).text;
        EXPECT_EQ(memo.contains(QStringLiteral("] ") + QString::fromUtf8(c.line) +
                                QStringLiteral("\r\n")),
                  !c.started)
            << c.line;
    }
}

} // namespace
