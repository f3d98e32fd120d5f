#include "QStringPrinter.h"
#include "TestEnvironment.h"

#include "script/ClipboardAccess.h"
#include "script/ProgramEvaluator.h"

#include <gtest/gtest.h>

using script::CEval;

namespace {

// The evaluator as the program sets it up at start: Clipboard, VBA, then the script file.
struct ProgramEvaluator {
    script::MemoryClipboard clipboard;
    std::unique_ptr<CEval> evaluator;
    CEval& eval;
    std::vector<std::pair<long, QString>> events;

    explicit ProgramEvaluator(const QString& scriptFile = QString())
        : evaluator(script::createProgramEvaluator(scriptFile, clipboard)), eval(*evaluator) {
        eval.setErrorHandler(
            [this](long number, const QString& text) { events.emplace_back(number, text); });
    }
};

struct Row {
    const char16_t* code;
    bool ok;
    const char16_t* result;
    long error;
};

TEST(EvaluatorWithEngine, EvaluatesAsTheInputLineExpects) {
    ProgramEvaluator p;
    ASSERT_TRUE(p.eval.Executable());
    EXPECT_EQ(p.eval.Language(), QStringLiteral("VBScript"));
    const Row rows[] = {
        {u"1+1", true, u"2", 0},
        {u"2*3", true, u"6", 0},
        {u"10/4", true, u"2.5", 0},
        {u"1/3", true, u"0.333333333333333", 0},
        {u"1=1", true, u"True", 0},
        {u"\"a\" & \"b\"", true, u"ab", 0},
        {u"DateSerial(2025, 4, 1)", true, u"2025/04/01", 0},
        {u"VBA.Format(DateSerial(2025, 4, 1), \"ggge年\")", true, u"令和7年", 0},
        {u"VBA.StrConv(\"ｶﾞ\", 4)", true, u"ガ", 0},
        {u"VBA.Format(1234567, \"#,##0,\")", true, u"1,235", 0},
        {u"abc", false, u"", 0},
        {u"", false, u"", 0},
        {u"1+\"a\"", false, u"", 13},
        {u"Array(1, 2)", false, u"", 13},
        {u"1+", false, u"", 1023},
        {u"x = 5", true, u"False", 0}, // an expression: comparison with an empty x
        {u"Call Clipboard.SetText(\"copied\")", true, u"", 0},
        {u"Clipboard.GetText()", true, u"copied", 0},
    };
    for (const Row& row : rows) {
        p.events.clear();
        const QString code = QString::fromUtf16(row.code);
        EXPECT_EQ(p.eval.RunCode(code, true), row.ok) << code.toStdString();
        EXPECT_EQ(p.eval.Result(), QString::fromUtf16(row.result)) << code.toStdString();
        if (row.error == 0) {
            EXPECT_TRUE(p.events.empty()) << code.toStdString();
        } else {
            ASSERT_EQ(p.events.size(), 1u) << code.toStdString();
            EXPECT_EQ(p.events[0].first, row.error) << code.toStdString();
        }
    }
    EXPECT_EQ(p.clipboard.text(), QStringLiteral("copied"));
}

TEST(EvaluatorWithEngine, TypeMismatchCarriesTheJapaneseDescription) {
    ProgramEvaluator p;
    EXPECT_FALSE(p.eval.RunCode(QStringLiteral("1+\"a\""), true));
    ASSERT_EQ(p.events.size(), 1u);
    EXPECT_EQ(p.events[0].second, QStringLiteral("型が一致しません。"));
}

TEST(EvaluatorWithEngine, UserFunctionsSurviveRegistrationAndStateLastsUntilReload) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    // CP932 text, CR LF line ends, as the program's files are.
    testsupport::writeFile(path,
                           QByteArray("Function Twice(x)\r\n Twice = x * 2\r\nEnd Function\r\n"
                                      "Function Hello()\r\n Hello = \"\x82\xB1\x82\xF1\"\r\n"
                                      "End Function\r\n"));
    ProgramEvaluator p(path);
    EXPECT_EQ(p.eval.AddCodeFile(), path);
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("Twice(21)"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("42"));
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("Hello()"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("こん"));
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("Call ExecuteGlobal(\"Dim g : g = 7\")"), true));
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("g * 2"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("14"));
    p.eval.setAddCodeFile(path); // the settings dialog's reload
    EXPECT_EQ(p.eval.AddCodeFile(), path);
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("IsEmpty(g)"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("True"));
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("VBA.Format(Twice(2), \"000\")"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("004"));
}

TEST(EvaluatorWithEngine, BrokenScriptFileStillLeavesTheObjects) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    testsupport::writeFile(path, QByteArray("Function Broken(\r\n"));
    ProgramEvaluator p(path);
    EXPECT_EQ(p.eval.AddCodeFile(), QString());
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("VBA.Format(5, \"00\")"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("05"));
}

} // namespace

// The file's own top-level statements use the objects, at the first load and at every reload.
TEST(EvaluatorWithEngine, TopLevelOfTheScriptFileUsesTheObjects) {
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    testsupport::writeFile(path, QByteArray("y = VBA.Format(5, \"000\")\r\n"
                                            "Clipboard.SetText \"loaded \" & y\r\n"));
    ProgramEvaluator p(path);
    EXPECT_EQ(p.eval.AddCodeFile(), path);
    EXPECT_EQ(p.clipboard.text(), QStringLiteral("loaded 005"));
    p.clipboard.setText(QString());
    p.eval.setAddCodeFile(path);
    EXPECT_EQ(p.eval.AddCodeFile(), path);
    EXPECT_EQ(p.clipboard.text(), QStringLiteral("loaded 005"));
    EXPECT_TRUE(p.eval.RunCode(QStringLiteral("y"), true));
    EXPECT_EQ(p.eval.Result(), QStringLiteral("005"));
}
