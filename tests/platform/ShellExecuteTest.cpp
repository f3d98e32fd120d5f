#include "platform/ShellExecute.h"
#include "DesktopSandbox.h"
#include "TestEnvironment.h"
#include "platform/AssociationRegistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A registered command's text reaches the program as the user typed it: only a pair of double
// quotes groups words.
TEST(SplitParameters, AsTyped) {
    struct Case {
        const char* text;
        QStringList words;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"a b  c", {"a", "b", "c"}},
        {"a\tb", {"a", "b"}},
        {"don't stop", {"don't", "stop"}},
        {"C:\\dir\\file", {"C:\\dir\\file"}},
        {"'a b' c", {"'a", "b'", "c"}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"a b\"c d", {"a bc", "d"}},
        {"\"\"", {""}},
        {"\"open", {"\"open"}},
        {"say \"hi", {"say", "\"hi"}},
        {"\"a\\\" b\"", {"a\\", "b\""}},
        {"trailing\\", {"trailing\\"}},
        {"$HOME `x` ;|&", {"$HOME", "`x`", ";|&"}},
        {"「引用」 ★ ｶﾀｶﾅ", {"「引用」", "★", "ｶﾀｶﾅ"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitParameters(QString::fromUtf8(c.text)), c.words) << c.text;
}

// Addresses typed without a scheme, as browsers read them.
TEST(WebAddressLink, WwwIsHttps) {
    struct Case {
        const char* text;
        const char* link;
    } cases[] = {
        {"www.example.org", "https://www.example.org"},
        {"WWW.example.org/検索?q=1", "https://WWW.example.org/検索?q=1"},
        {"www.", ""},
        {"www", ""},
        {"wwwexample.org", ""},
        {"www.example.org を見る", ""},
        {"https://www.example.org", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webAddressLink(QString::fromUtf8(c.text)), QString::fromUtf8(c.link)) << c.text;
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

TEST_F(ShellLaunch, ProgramOnPathGetsTheArgumentsAsTyped) {
    EXPECT_TRUE(shellExecute(QStringLiteral("open"), QStringLiteral("scrivlet-mark-prog"),
                             QStringLiteral("prog don't \"c;d e\" C:\\dir\\file $HOME")));
    EXPECT_EQ(desktop->waitForMark(QStringLiteral("prog")),
              (QStringList{QStringLiteral("don't"), QStringLiteral("c;d e"),
                           QStringLiteral("C:\\dir\\file"), QStringLiteral("$HOME")}));
}

// Only real programs start as programs; documents with the execute bit (from NTFS, exFAT or SMB
// mounts, or unpacked archives) open through their associations.
TEST_F(ShellLaunch, ExecuteBitAloneMakesNoProgram) {
    QFile elf(QStringLiteral("/bin/true"));
    ASSERT_TRUE(elf.open(QIODevice::ReadOnly));
    const QByteArray elfBytes = elf.readAll();
    struct Case {
        const char* name;
        QByteArray content;
        bool executable;
        bool program;
    } cases[] = {
        {"notes.txt", "買い物：牛乳\n", true, false},
        {"memo.txt", "#!/usr/bin/scrivlet-viewer\nnot a script\n", true, false},
        {"report.pdf", "%PDF-1.4\n", true, false},
        {"run.sh", "#!/bin/sh\nexit 0\n", true, true},
        {"tool", "#! /usr/bin/env python3\n", true, true},
        {"check", "#!/usr/bin/perl -w\n", true, true},
        {"plain-elf", elfBytes, true, true},
        {"script.sh", "#!/bin/sh\nexit 0\n", false, false},
    };
    for (const Case& c : cases) {
        const QString file = dir + QLatin1Char('/') + QLatin1String(c.name);
        testsupport::writeFile(file, c.content);
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (c.executable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(file, permissions);
        const std::optional<QString> what =
            describeShellExecute({QStringLiteral("open"), file, {}});
        EXPECT_EQ(what.value_or(QString()).startsWith(QStringLiteral("program ")), c.program)
            << c.name << ": " << what.value_or(QStringLiteral("nothing")).toStdString();
    }
    // The document really opens in its application.
    EXPECT_TRUE(shellExecute(QStringLiteral("open"), dir + QStringLiteral("/notes.txt"), {}));
    const auto text = desktop->waitForMark(QStringLiteral("text"));
    ASSERT_TRUE(text.has_value());
    EXPECT_TRUE(text->join(QString()).endsWith(QStringLiteral("notes.txt")));
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

TEST(OpenWith, UnavailableWithoutAChooser) {
    const OpenWithHandler old = setOpenWithHandler({});
    EXPECT_EQ(offerOpenWith(QStringLiteral("/tmp/x")), OpenWithResult::Unavailable);
    QString offered;
    setOpenWithHandler([&](const QString& file) {
        offered = file;
        return OpenWithResult::Started;
    });
    EXPECT_EQ(offerOpenWith(QStringLiteral("/tmp/x")), OpenWithResult::Started);
    EXPECT_EQ(offered, QStringLiteral("/tmp/x"));
    setOpenWithHandler(old);
}

} // namespace
