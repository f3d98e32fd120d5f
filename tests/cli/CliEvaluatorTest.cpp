// Lines that reach the script evaluator: results written back, errors on standard error, the
// user's script file and the host objects.

#include "CliFixture.h"
#include "platform/TextCodec.h"

#include <QFile>

using namespace clitest;

namespace {

class CliEvaluator : public ProgramFolderTest {};

const QByteArray kScript =
    "Function Twice(x): Twice = x*2: End Function\r\n"
    "Function Blank(): End Function\r\n"
    "Dim counter\r\n"
    "Function Tick(): counter = counter + 1: Tick = counter: End Function\r\n";

TEST_F(CliEvaluator, LinesAndTheirResults) {
    writeScript(kScript);
    writeSettings("[Command]\r\nd=Double,Twice(%a)\r\nfmt=Format,VBA.Format(%a, \"#,##0.00\")\r\n");
    struct Case {
        const char* line;
        int code;
        const char* out; // "" when nothing is written back
    } cases[] = {
        {"1+1|2*3", 0, "2 |6\n"},
        {"Twice(21)", 0, "42\n"},
        {"d 5", 0, "10\n"},                       // a registered command around a user function
        {"fmt 1234.5", 0, "1,234.50\n"},          // the VBA object
        {"1|Blank()|2", 0, "1 | |2\n"},           // an empty result keeps its place
        {"Blank()", 0, "\n"},                     // the window clears its input line
        {"Tick()|Tick()|Tick()", 0, "1 |2 |3\n"}, // globals live through one line
        {"Call Clipboard.SetText(\"ab\")|Clipboard.GetText()", 0, " |ab\n"},
        {"   ", 1, ""},
    };
    for (const Case& c : cases) {
        const CliResult r = runLine(QString::fromUtf8(c.line));
        EXPECT_EQ(r.code, c.code) << c.line << "\n" << r.err.toStdString();
        EXPECT_EQ(r.out, QString::fromUtf8(c.out)) << c.line;
        EXPECT_TRUE(r.err.isEmpty()) << c.line << ": " << r.err.toStdString();
    }
}

TEST_F(CliEvaluator, ScriptErrorsGoToStandardErrorWhenShown) {
    struct Case {
        const char* settings;
        const char* line;
        const char* err;
    } cases[] = {
        {"", "\"abc\"*2", "Error Number 13:型が一致しません。\n"},
        {"", "1/0", "Error Number 11:0 で除算しました。\n"},
        {"", "x = 1 + * 2", "Error Number 1023:式がありません。\n"},
        // What is neither script nor there to open is said in the user's words.
        {"", "scrivletnoword", "「scrivletnoword」が見つかりません。\n"},
        {"", "two words", "プログラム「two」が見つかりません。\n"},
        {"", "~/Documents", "「~/Documents」が見つかりません。\n"},
        {"[Options]\r\nShowErrMsg=False\r\n", "\"abc\"*2", ""},
        {"[Options]\r\nShowErrMsg=False\r\n", "scrivletnoword", ""},
        {"[Options]\r\nShowErrMsg=maybe\r\n", "\"abc\"*2", "Error Number 13:型が一致しません。\n"},
    };
    for (const Case& c : cases) {
        writeSettings(c.settings);
        const CliResult r = runLine(QString::fromUtf8(c.line));
        EXPECT_EQ(r.code, cli::NothingRan) << c.line;
        EXPECT_TRUE(r.out.isEmpty()) << c.line;
        EXPECT_EQ(r.err, QString::fromUtf8(c.err)) << c.line << " / " << c.settings;
    }
    // A script's own box is shown the same way and answered with its default button.
    writeSettings("");
    const CliResult box = runLine(QStringLiteral("MsgBox(\"確認\", vbOKCancel)"));
    EXPECT_EQ(box.code, cli::PieceRan);
    EXPECT_EQ(box.out, QStringLiteral("1\n"));
    EXPECT_EQ(box.err, QStringLiteral("確認\n"));

    // The other pieces of the line still run.
    writeSettings("");
    const CliResult mixed = runLine(QStringLiteral("1+1|\"abc\"*2|3"));
    EXPECT_EQ(mixed.code, cli::PieceRan);
    EXPECT_EQ(mixed.out, QStringLiteral("2 |3\n"));
    EXPECT_EQ(mixed.err, QStringLiteral("Error Number 13:型が一致しません。\n"));
}

TEST_F(CliEvaluator, ScriptFileInEitherEncoding) {
    const QString body =
        QStringLiteral("Function Greet(n): Greet = \"こんにちは、\" & n: End Function\r\n");
    for (const platform::TextEncoding encoding :
         {platform::TextEncoding::Cp932, platform::TextEncoding::Utf8}) {
        writeScript(encoding == platform::TextEncoding::Cp932 ? platform::toAnsi(body)
                                                              : body.toUtf8());
        const CliResult r = runLine(QStringLiteral("Greet(\"世界\")"));
        EXPECT_EQ(r.code, cli::PieceRan);
        EXPECT_EQ(r.out, QStringLiteral("こんにちは、世界\n"));
    }
}

TEST_F(CliEvaluator, ScriptFileThatFailsToLoadIsReportedAndTheLineStillRuns) {
    writeScript("Function Broken(\r\n");
    const CliResult r = runLine(QStringLiteral("1+1|Broken()"));
    EXPECT_EQ(r.code, cli::PieceRan);
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Scrivlet.vbsファイルのロードに失敗しました。"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Error Number "))) << lines[1].toStdString();

    // No script file at all is no failure.
    QFile::remove(path(QStringLiteral("scrivlet.vbs")));
    EXPECT_TRUE(runLine(QStringLiteral("1+1")).err.isEmpty());
}

} // namespace
