#include "QStringPrinter.h"
#include "TestEnvironment.h"

#include "script/ClipboardAccess.h"
#include "script/ConsoleScriptHost.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct ScriptRun {
    int exitCode;
    QString out;
    QString err;
};

ScriptRun runScript(const QByteArray& source, const QStringList& arguments = {},
                    script::ClipboardAccess* clipboard = nullptr,
                    const QString& name = QStringLiteral("test.vbs")) {
    const QString path = testsupport::freshFolder() + u'/' + name;
    testsupport::writeFile(path, source);
    std::ostringstream out;
    std::ostringstream err;
    script::ConsoleScriptHost host(out, err);
    host.setClipboard(clipboard);
    const int code = host.run(path, arguments);
    return {code, QString::fromStdString(out.str()), QString::fromStdString(err.str())};
}

TEST(ConsoleScriptHost, EchoJoinsItsArgumentsWithBlanks) {
    const ScriptRun r = runScript("WScript.Echo \"a\", 1 + 1, True\r\nWScript.Echo\r\n"
                                  "WScript.Echo Null\r\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral("a 2 True\n\nNull\n"));
    EXPECT_EQ(r.err, QString());
}

TEST(ConsoleScriptHost, StreamsWriteWithoutAndWithLineEnds) {
    const ScriptRun r =
        runScript("WScript.StdOut.Write \"x\"\r\nWScript.StdOut.WriteLine \"y\"\r\n"
                  "WScript.StdOut.WriteBlankLines 2\r\nWScript.StdErr.WriteLine \"e\"\r\n");
    EXPECT_EQ(r.out, QStringLiteral("xy\n\n\n"));
    EXPECT_EQ(r.err, QStringLiteral("e\n"));
}

TEST(ConsoleScriptHost, QuitEndsTheRunWithItsCode) {
    const struct {
        const char* source;
        int exitCode;
        const char* out;
    } rows[] = {
        {"WScript.Echo 1\r\nWScript.Quit 3\r\nWScript.Echo 2\r\n", 3, "1\n"},
        {"WScript.Quit\r\nWScript.Echo 2\r\n", 0, ""},
        {"Sub F\r\n WScript.Quit 7\r\nEnd Sub\r\nF\r\nWScript.Echo 2\r\n", 7, ""},
        {"On Error Resume Next\r\nWScript.Quit 4\r\nWScript.Echo 2\r\n", 4, ""},
    };
    for (const auto& row : rows) {
        const ScriptRun r = runScript(row.source);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.source;
        EXPECT_EQ(r.out, QString::fromLatin1(row.out)) << row.source;
        EXPECT_EQ(r.err, QString()) << row.source;
    }
}

TEST(ConsoleScriptHost, ArgumentsAndScriptName) {
    const ScriptRun r = runScript("WScript.Echo WScript.Arguments.Count, WScript.Arguments(1)\r\n"
                                  "For Each a In WScript.Arguments\r\n WScript.Echo a\r\nNext\r\n"
                                  "WScript.Echo WScript.ScriptName\r\n",
                                  {QStringLiteral("one"), QStringLiteral("二")}, nullptr,
                                  QStringLiteral("args.vbs"));
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2 二\none\n二\nargs.vbs\n"));
}

TEST(ConsoleScriptHost, UncaughtErrorPrintsNumberDescriptionAndLine) {
    const ScriptRun r = runScript("WScript.Echo 1\r\nx = 1 + \"a\"\r\nWScript.Echo 2\r\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("1\n"));
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("test.vbs(2, "))) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(QStringLiteral(") Error Number 13:型が一致しません。\n")))
        << r.err.toStdString();
}

TEST(ConsoleScriptHost, ArgumentOutOfRangeIsAnError) {
    const ScriptRun r = runScript("WScript.Echo WScript.Arguments(0)\r\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error Number 9:"))) << r.err.toStdString();
}

TEST(ConsoleScriptHost, SyntaxErrorIsReportedWithItsLine) {
    const ScriptRun r = runScript("WScript.Echo 1\r\nIf Then\r\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QString()); // nothing runs when the file does not compile
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("test.vbs(2, "))) << r.err.toStdString();
}

TEST(ConsoleScriptHost, ReadsCp932ScriptsAndOffersVbaAndClipboard) {
    script::MemoryClipboard clipboard;
    // "WScript.Echo VBA.StrConv("ｶﾞ", 4)" with the argument in CP932.
    const ScriptRun r = runScript("Clipboard.SetText VBA.Format(1234.5, \"#,##0.0\")\r\n"
                                  "WScript.Echo VBA.StrConv(\"\xB6\xDE\", 4)\r\n",
                                  {}, &clipboard);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("ガ\n"));
    EXPECT_EQ(clipboard.text(), QStringLiteral("1,234.5"));
}

TEST(ConsoleScriptHost, MessageAndInputBoxesUseTheConsole) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/boxes.vbs");
    testsupport::writeFile(
        path, QByteArray("r = MsgBox(\"Sure?\", vbYesNo + vbDefaultButton2)\r\n"
                         "WScript.Echo r\r\n"
                         "WScript.Echo MsgBox(\"Hi\")\r\n"
                         "WScript.Echo \"[\" & InputBox(\"Name\") & \"]\"\r\n"
                         "WScript.Echo \"[\" & InputBox(\"Again\", , \"x\") & \"]\"\r\n"
                         "WScript.Echo \"[\" & InputBox(\"Gone\") & \"]\"\r\n"));
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in("太郎\n\n");
    script::ConsoleScriptHost host(out, err, in);
    EXPECT_EQ(host.run(path, {}), 0) << err.str();
    EXPECT_EQ(QString::fromStdString(out.str()),
              QStringLiteral("Sure?\n7\nHi\n1\nName: [太郎]\nAgain [x]: [x]\nGone: []\n"));
}

TEST(ConsoleScriptHost, MissingFileIsReported) {
    std::ostringstream out;
    std::ostringstream err;
    script::ConsoleScriptHost host(out, err);
    EXPECT_EQ(host.run(testsupport::freshFolder() + QStringLiteral("/none.vbs"), {}), 1);
    EXPECT_NE(err.str().find("none.vbs"), std::string::npos);
}

} // namespace
