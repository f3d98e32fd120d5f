#include "platform/ShellExecute.h"
#include "DesktopSandbox.h"
#include "TestEnvironment.h"
#include "platform/AssociationRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(SplitShellWords, AsAShellSplits) {
    struct Case {
        const char* text;
        std::optional<QStringList> words;
    } cases[] = {
        {"", QStringList{}},
        {"   ", QStringList{}},
        {"a b  c", QStringList{"a", "b", "c"}},
        {"'a b' c", QStringList{"a b", "c"}},
        {"\"a b\"c d", QStringList{"a bc", "d"}},
        {"a\\ b", QStringList{"a b"}},
        {"\"say \\\"hi\\\"\"", QStringList{"say \"hi\""}},
        {"'no \\ escape'", QStringList{"no \\ escape"}},
        {"''", QStringList{""}},
        {"$HOME `x` ;|&", QStringList{"$HOME", "`x`", ";|&"}},
        {"'open", std::nullopt},
        {"\"open", std::nullopt},
        {"trailing\\", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitShellWords(QString::fromUtf8(c.text)), c.words) << c.text;
}

TEST(HasUrlScheme, SchemesOnly) {
    struct Case {
        const char* text;
        bool url;
    } cases[] = {
        {"https://example.org", true},
        {"mailto:a@b", true},
        {"file:///tmp", true},
        {"C:\\x", false},
        {"a:b", false},
        {"/tmp/a:b", false},
        {"1x:y", false},
        {"http:", false},
        {"plain", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasUrlScheme(QString::fromUtf8(c.text)), c.url) << c.text;
}

// Real starts against the sandboxed desktop: nothing but the marking program ever runs.
class ShellLaunch : public testsupport::SandboxedDesktopTest {
protected:
    void SetUp() override {
        SandboxedDesktopTest::SetUp();
        dir = testsupport::freshFolder(QStringLiteral("files"));
    }
    QString dir;
};

TEST_F(ShellLaunch, AssociationView) {
    const AssociationRegistry reg;
    const QString root = QStringLiteral("HKEY_CLASSES_ROOT");
    EXPECT_EQ(reg.stringValue(root, QStringLiteral(".txt"), {}), QStringLiteral("text/plain"));
    EXPECT_EQ(reg.stringValue(root, QStringLiteral(".zzqqxx"), {}), std::nullopt);
    EXPECT_FALSE(reg.keyExists(root, QStringLiteral(".zzqqxx")));
    EXPECT_EQ(reg.stringValue(root, QStringLiteral("text/plain\\Shell"), {}),
              QStringLiteral("open"));
    EXPECT_EQ(
        reg.subKeys(root, QStringLiteral("text/plain\\Shell")),
        (QStringList{QStringLiteral("open"), QStringLiteral("second"), QStringLiteral("edit")}));
    EXPECT_TRUE(reg.keyExists(root, QStringLiteral("text/plain\\Shell\\second")));
    EXPECT_FALSE(reg.keyExists(root, QStringLiteral("text/plain\\Shell\\print")));
    EXPECT_EQ(reg.stringValue(root, QStringLiteral("application/x-scrivlet-none\\Shell"), {}),
              std::nullopt);
    EXPECT_TRUE(reg.subKeys(root, QStringLiteral("application/x-scrivlet-none\\Shell")).isEmpty());
    EXPECT_TRUE(reg.keyExists(QStringLiteral("HKEY_CURRENT_USER"), QString()));
    EXPECT_FALSE(reg.keyExists(QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software")));
    EXPECT_FALSE(reg.keyExists(QStringLiteral("HKEY_ELSEWHERE"), QString()));
}

TEST_F(ShellLaunch, ProgramOnPathGetsShellSplitArguments) {
    EXPECT_TRUE(shellExecute(QStringLiteral("open"), QStringLiteral("scrivlet-mark-prog"),
                             QStringLiteral("prog 'a b' \"c;d\" $HOME")));
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("prog")),
              (QStringList{QStringLiteral("a b"), QStringLiteral("c;d"), QStringLiteral("$HOME")}));
}

TEST_F(ShellLaunch, DocumentsFoldersAndUrlsReachTheirHandlers) {
    const QString note = dir + QStringLiteral("/note.txt");
    testsupport::writeFile(note, "hello\n");
    EXPECT_TRUE(shellExecute(QStringLiteral("open"), note, QString()));
    const auto text = desktop->waitForMark(QStringLiteral("text"));
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->join(QString()).endsWith(QStringLiteral("note.txt")));

    EXPECT_TRUE(shellExecute(QStringLiteral("open"), dir, QString()));
    const auto folder = desktop->waitForMark(QStringLiteral("folder"));
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->join(QString()).contains(QFileInfo(dir).fileName()));

    EXPECT_TRUE(shellExecute(QString(), QStringLiteral("scrivlet-test://find?q=a%20b"), QString()));
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("url")),
              QStringList{QStringLiteral("scrivlet-test://find?q=a%20b")});
}

TEST_F(ShellLaunch, VerbsOtherThanOpen) {
    const QString note = dir + QStringLiteral("/edit me.txt");
    testsupport::writeFile(note, "x\n");
    EXPECT_TRUE(shellExecute(QStringLiteral("edit"), note, QString()));
    ASSERT_TRUE(desktop->waitForMark(QStringLiteral("text")).has_value());
    EXPECT_TRUE(shellExecute(QStringLiteral("second"), note, QString()));
    EXPECT_TRUE(desktop->waitForMark(QStringLiteral("action")).has_value());
    EXPECT_FALSE(shellExecute(QStringLiteral("print"), note, QString()));
}

TEST_F(ShellLaunch, NotepadStandsForTheTextEditor) {
    const QString script = dir + QStringLiteral("/my script.vbs");
    testsupport::writeFile(script, "x = 1\n");
    EXPECT_TRUE(shellExecute(QString(), QStringLiteral("notepad.exe"),
                             QLatin1Char('"') + script + QLatin1Char('"')));
    const auto mark = desktop->waitForMark(QStringLiteral("text"));
    ASSERT_TRUE(mark.has_value());
    EXPECT_TRUE(mark->join(QString()).contains(QStringLiteral("script.vbs")));
    EXPECT_FALSE(shellExecute(QString(), QStringLiteral("notepad.exe"),
                              dir + QStringLiteral("/missing.vbs")));
}

TEST_F(ShellLaunch, NothingToStartIsFalseAtOnce) {
    const QString plain = dir + QStringLiteral("/data.scrivlet-unknown");
    testsupport::writeFile(plain, QByteArray("\x01\x02\x03\x00\xff", 5));
    QElapsedTimer timer;
    timer.start();
    struct Case {
        QString verb, file, parameters;
    } cases[] = {
        {QStringLiteral("open"), QStringLiteral("scrivlet-no-such-program"), {}},
        {QStringLiteral("open"), dir + QStringLiteral("/missing.txt"), {}},
        {QStringLiteral("open"), QStringLiteral("nowhere/prog"), {}},
        {QStringLiteral("open"), QStringLiteral("scrivlet-nohandler://x"), {}},
        {QStringLiteral("open"), QStringLiteral("scrivlet-mark-prog"), QStringLiteral("'open")},
        {QStringLiteral("edit"), QStringLiteral("scrivlet-mark-prog"), {}},
        {QStringLiteral("open"), QString(), {}},
        {QStringLiteral("open"), plain, {}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(shellExecute(c.verb, c.file, c.parameters)) << c.file.toStdString();
        EXPECT_FALSE(describeShellExecute({c.verb, c.file, c.parameters}).has_value());
    }
    EXPECT_LT(timer.elapsed(), 5000);
    QThread::msleep(200);
    EXPECT_TRUE(QDir(desktop->markDir).entryList(QDir::Files).isEmpty());
}

TEST_F(ShellLaunch, DescribingStartsNothing) {
    const auto what = describeShellExecute(
        {QStringLiteral("open"), QStringLiteral("scrivlet-mark-prog"), QStringLiteral("quiet x")});
    ASSERT_TRUE(what.has_value());
    EXPECT_TRUE(what->startsWith(QStringLiteral("program ")));
    QThread::msleep(200);
    EXPECT_FALSE(desktop->hasMark(QStringLiteral("quiet")));
}

TEST(OpenWith, FalseWithoutAChooser) {
    const OpenWithHandler old = setOpenWithHandler({});
    EXPECT_FALSE(offerOpenWith(QStringLiteral("/tmp/x")));
    QString offered;
    setOpenWithHandler([&](const QString& file) {
        offered = file;
        return true;
    });
    EXPECT_TRUE(offerOpenWith(QStringLiteral("/tmp/x")));
    EXPECT_EQ(offered, QStringLiteral("/tmp/x"));
    setOpenWithHandler(old);
}

} // namespace
