// scrivlet-cli --find: the matching memo lines as "title<TAB>line", with grep's exit status.

#include "CliFixture.h"
#include "platform/FileFaults.h"

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

} // namespace
