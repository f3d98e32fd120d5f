// scrivlet-cli --vbs FILE: a script file run by the console script host.

#include "CliFixture.h"

using namespace clitest;

namespace {

class CliScriptFile : public ProgramFolderTest {
protected:
    CliResult runScript(const QByteArray& source, const QStringList& arguments = {},
                        const std::string& input = {}, const QStringList& options = {}) {
        const QString file = path(QStringLiteral("job.vbs"));
        testsupport::writeFile(file, source);
        return runCliCollecting(options + QStringList{QStringLiteral("--vbs"), file} + arguments,
                                input);
    }
};

TEST_F(CliScriptFile, WScriptServices) {
    struct Case {
        const char* name;
        QByteArray source;
        QStringList arguments;
        int code;
        const char* out;
        const char* err;
    } cases[] = {
        {"echo",
         "WScript.Echo \"a\", 1+1\r\nWScript.Echo\r\nWScript.Echo \"日本語\"",
         {},
         0,
         "a 2\n\n日本語\n",
         ""},
        {"arguments",
         "For Each a In WScript.Arguments: WScript.Echo \"[\" & a & \"]\": Next\r\n"
         "WScript.Echo WScript.Arguments.Count, WScript.Arguments(1)",
         {QStringLiteral("x y"), QStringLiteral("--dir"), QStringLiteral("")},
         0,
         "[x y]\n[--dir]\n[]\n3 --dir\n",
         ""},
        {"quit",
         "WScript.Echo \"before\"\r\nWScript.Quit 5\r\nWScript.Echo \"after\"",
         {},
         5,
         "before\n",
         ""},
        {"streams",
         "WScript.StdOut.Write \"a\"\r\nWScript.StdOut.WriteLine \"b\"\r\n"
         "WScript.StdErr.WriteLine \"warn\"",
         {},
         0,
         "ab\n",
         "warn\n"},
        {"scriptName", "WScript.Echo WScript.ScriptName", {}, 0, "job.vbs\n", ""},
        {"hostObjects",
         "Clipboard.SetText \"clip\"\r\nWScript.Echo Clipboard.GetText(), "
         "VBA.Format(0.5, \"0%\")",
         {},
         0,
         "clip 50%\n",
         ""},
        {"uncaughtError",
         "WScript.Echo \"start\"\r\nx = 1\r\ny = \"abc\" * 2\r\n",
         {},
         1,
         "start\n",
         "job.vbs(3, "},
        {"syntaxError", "If Then\r\n", {}, 1, "", "job.vbs(1, "},
        {"handledError",
         "On Error Resume Next\r\nx = 1/0\r\nWScript.Echo Err.Number",
         {},
         0,
         "11\n",
         ""},
    };
    for (const Case& c : cases) {
        const CliResult r = runScript(c.source, c.arguments);
        EXPECT_EQ(r.code, c.code) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.name;
        if (*c.err == '\0')
            EXPECT_TRUE(r.err.isEmpty()) << c.name << ": " << r.err.toStdString();
        else
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err)))
                << c.name << ": " << r.err.toStdString();
    }
}

TEST_F(CliScriptFile, UncaughtErrorNamesNumberDescriptionAndLine) {
    const CliResult r = runScript("x = 1\r\ny = \"abc\" * 2\r\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("job.vbs(2, ")));
    EXPECT_TRUE(r.err.contains(QStringLiteral(") Error Number 13:型が一致しません。")));
}

TEST_F(CliScriptFile, MissingFileAndUsageErrors) {
    const CliResult missing =
        runCliCollecting({QStringLiteral("--vbs"), path(QStringLiteral("none.vbs"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.vbs")));

    for (const QStringList& args :
         {QStringList{QStringLiteral("--vbs")}, QStringList{QStringLiteral("--vbs"), QString()},
          QStringList{QStringLiteral("1+1"), QStringLiteral("--vbs"), QStringLiteral("f.vbs")}}) {
        const CliResult r = runCliCollecting(args);
        EXPECT_EQ(r.code, cli::UsageError) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("scrivlet-cli: --vbs")));
    }
}

TEST_F(CliScriptFile, BoxesAndInputOnTheConsole) {
    const CliResult box = runScript("a = MsgBox(\"質問\", vbYesNo + vbDefaultButton2)\r\n"
                                    "WScript.Echo a");
    EXPECT_EQ(box.code, 0) << box.err.toStdString();
    // A script host's box is part of the script's output, as WScript.Echo is.
    EXPECT_EQ(box.out, QStringLiteral("質問\n7\n")); // the default button: No
    EXPECT_TRUE(box.err.isEmpty());

    const QByteArray asks = "Do\r\n  a = InputBox(\"名前\", \"題\", \"既定\")\r\n"
                            "  If IsEmpty(a) Then Exit Do\r\n"
                            "  WScript.Echo \"<\" & a & \">\"\r\nLoop";
    const CliResult input = runScript(asks, {}, "太郎\r\n\nx y\n");
    EXPECT_EQ(input.code, 0) << input.err.toStdString();
    // An empty answer takes the default; the end of the input cancels.
    const QString prompt = QStringLiteral("名前 [既定]: ");
    EXPECT_EQ(input.out, prompt + QStringLiteral("<太郎>\n") + prompt + QStringLiteral("<既定>\n") +
                             prompt + QStringLiteral("<x y>\n") + prompt);
}

TEST_F(CliScriptFile, ShellRunTakesTheProgramsWayAndHonoursDryRun) {
    const CliResult r = runScript("CreateObject(\"WScript.Shell\").Run \"true now\"\r\n"
                                  "WScript.Echo \"ran\"",
                                  {}, {}, {QStringLiteral("--dry-run")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("open\ttrue\tnow\tstart program /")))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("ran"));
}

} // namespace
