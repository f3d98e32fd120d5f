#include "engine/ShellExecution.h"
#include "ShellRecorder.h"
#include "TestEnvironment.h"
#include "engine/RegistryAccess.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace engine;
using enginetest::ShellRecorder;

namespace {

const QString kRoot = QStringLiteral("HKEY_CLASSES_ROOT");

// A folder with files whose types the in-memory registry describes:
//   .edt  -> type/edit-default (default verb "edit")
//   .nov  -> type/no-default   (no default verb; verbs "print", then "open")
//   .unk  -> not registered
class ShellExecutionTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::freshFolder(QStringLiteral("shell"));
        for (const char* name : {"doc.edt", "doc.nov", "doc.unk", "noext", "with space.edt"})
            testsupport::writeFile(dir + QLatin1Char('/') + QLatin1String(name), "x");
        QDir(dir).mkdir(QStringLiteral("folder"));
        auto& reg = *shell.registry;
        reg.setString(kRoot, QStringLiteral(".edt"), {}, QStringLiteral("type/edit-default"));
        reg.setString(kRoot, QStringLiteral("type/edit-default\\Shell"), {},
                      QStringLiteral("edit"));
        reg.addKey(kRoot, QStringLiteral("type/edit-default\\Shell\\open"));
        reg.setString(kRoot, QStringLiteral(".nov"), {}, QStringLiteral("type/no-default"));
        reg.addKey(kRoot, QStringLiteral("type/no-default\\Shell\\print"));
        reg.addKey(kRoot, QStringLiteral("type/no-default\\Shell\\open"));
    }
    QString path(const char* name) const { return dir + QLatin1Char('/') + QLatin1String(name); }

    ShellRecorder shell;
    QString dir;
};

TEST_F(ShellExecutionTest, VerbsFromTheAssociations) {
    struct Case {
        QString path;
        QString verb;
    } cases[] = {
        {QStringLiteral("https://example.org/a?b"), noLookupMarker()},
        {QStringLiteral("mailto:someone@example.org"), noLookupMarker()},
        {QStringLiteral("notepad"), noLookupMarker()},
        {path("missing.edt"), noLookupMarker()},
        {path("doc.edt") + QStringLiteral(";x"), noLookupMarker()},
        {path("folder"), QStringLiteral("open")},
        {path("doc.edt"), QStringLiteral("edit")},
        {QLatin1Char('"') + path("doc.edt") + QLatin1Char('"'), QStringLiteral("edit")},
        {path("doc.nov"), QStringLiteral("print")},
        {path("doc.unk"), QString()},
        {path("noext"), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetAssociatedVerb(c.path), c.verb) << c.path.toStdString();
}

TEST_F(ShellExecutionTest, RequestsHandedToTheShell) {
    struct Case {
        QString target;
        QStringList requests;
        QStringList openWith;
    } cases[] = {
        {QStringLiteral("https://example.org/?q=a b"),
         {QStringLiteral("open|https://example.org/?q=a|b")},
         {}},
        {QStringLiteral("notepad memo.txt"), {QStringLiteral("open|notepad|memo.txt")}, {}},
        // A verb from the associations that nothing carries out: the user chooses.
        {path("folder"),
         {QStringLiteral("open|") + path("folder") + QStringLiteral("|")},
         {path("folder")}},
        {path("doc.edt") + QStringLiteral(" -x"),
         {QStringLiteral("edit|") + path("doc.edt") + QStringLiteral("|-x")},
         {path("doc.edt")}},
        {path("doc.nov"),
         {QStringLiteral("print|") + path("doc.nov") + QStringLiteral("|")},
         {path("doc.nov")}},
        // No association: "open" first, then the chooser, without the typed parameters.
        {path("noext") + QStringLiteral(" -p"),
         {QStringLiteral("open|") + path("noext") + QStringLiteral("|-p")},
         {path("noext")}},
        {QStringLiteral("C:\\Program Files\\App\\app.exe -x"),
         {QStringLiteral("open|C:\\Program|Files\\App\\app.exe -x")},
         {}},
        {QLatin1Char('"') + path("with space.edt") + QStringLiteral("\" -p"),
         {QStringLiteral("edit|") + path("with space.edt") + QStringLiteral("|-p")},
         {path("with space.edt")}},
        {QStringLiteral("\"unclosed quote"), {QStringLiteral("open|\"unclosed quote|")}, {}},
        {QStringLiteral("prog    "), {QStringLiteral("open|prog|")}, {}},
        {QStringLiteral("\\\\server\\"), {QStringLiteral("open|\\\\server|")}, {}},
        {QStringLiteral("\\\\server\\share\\"), {QStringLiteral("open|\\\\server\\share\\|")}, {}},
    };
    for (const Case& c : cases) {
        shell.requests.clear();
        shell.openWith.clear();
        ExecuteShell(c.target, QString());
        EXPECT_EQ(shell.requests, c.requests) << c.target.toStdString();
        EXPECT_EQ(shell.openWith, c.openWith) << c.target.toStdString();
    }
}

TEST_F(ShellExecutionTest, SuccessIsTheLastRun) {
    shell.acceptedFiles = {path("doc.edt")};
    EXPECT_TRUE(ExecuteShell(path("doc.edt"), QString()));
    EXPECT_FALSE(ExecuteShell(QStringLiteral("nothing-here"), QString()));
    // The chooser counts as success once it is shown, whatever the user picks.
    EXPECT_TRUE(ExecuteShell(path("doc.unk"), QString()));
    EXPECT_TRUE(ExecuteShell(path("doc.nov"), QString()));
    shell.chooserWorks = false;
    EXPECT_FALSE(ExecuteShell(path("doc.unk"), QString()));
    EXPECT_FALSE(ExecuteShell(path("doc.nov"), QString()));
}

TEST_F(ShellExecutionTest, GivenVerbIsUsedAsIs) {
    shell.acceptedFiles = {path("doc.nov")};
    EXPECT_TRUE(ExecuteShell(QLatin1Char('"') + path("doc.nov") + QLatin1Char('"'),
                             QStringLiteral("edit")));
    EXPECT_EQ(shell.requests,
              QStringList{QStringLiteral("edit|") + path("doc.nov") + QStringLiteral("|")});
}

TEST_F(ShellExecutionTest, RegistryReads) {
    auto& reg = *shell.registry;
    reg.setString(kRoot, QStringLiteral(".nul"), {},
                  QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"));
    reg.setBinary(kRoot, QStringLiteral(".bin"), {});
    reg.setString(QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("Software\\X"),
                  QStringLiteral("Name"), QStringLiteral("v"));

    EXPECT_EQ(GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\.edt"), {}),
              QStringLiteral("type/edit-default"));
    EXPECT_EQ(GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\.EDT"), {}),
              QStringLiteral("type/edit-default"));
    EXPECT_EQ(GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\.nul"), {}), QStringLiteral("a"));
    EXPECT_EQ(GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\.bin"), {}), QString());
    EXPECT_EQ(GetRegString(QStringLiteral("HKEY_CLASSES_ROOT\\.none"), {}), QString());
    EXPECT_EQ(
        GetRegString(QStringLiteral("HKEY_CURRENT_USER\\Software\\X"), QStringLiteral("Name")),
        QStringLiteral("v"));
    // Root names are exact.
    EXPECT_EQ(GetRegString(QStringLiteral("hkey_classes_root\\.edt"), {}), QString());
    EXPECT_FALSE(OpenRegKey(QStringLiteral("HKEY_NOWHERE\\.edt"), KEY_READ).has_value());
    EXPECT_TRUE(OpenRegKey(QStringLiteral("HKEY_CLASSES_ROOT\\"), KEY_READ).has_value());

    EXPECT_EQ(GetRegSubKeys(QStringLiteral("HKEY_CLASSES_ROOT\\type/no-default\\Shell")),
              (QStringList{QStringLiteral("print"), QStringLiteral("open")}));
    EXPECT_EQ(GetRegSubKeys(QStringLiteral("HKEY_CLASSES_ROOT\\type/missing\\Shell")),
              QStringList());
}

} // namespace
