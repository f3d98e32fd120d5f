#include "FakeScriptEngine.h"
#include "QStringPrinter.h"
#include "TestEnvironment.h"

#include "platform/FileFaults.h"
#include "script/CEval.h"
#include "script/VBLike.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>

using script::CEval;

namespace {

struct Evaluator {
    FakeScriptEngine* engine;
    std::unique_ptr<CEval> eval;
    std::vector<std::pair<long, QString>> events;

    Evaluator() {
        auto fake = std::make_unique<FakeScriptEngine>();
        engine = fake.get();
        eval = std::make_unique<CEval>(std::move(fake));
        eval->setErrorHandler(
            [this](long number, const QString& text) { events.emplace_back(number, text); });
    }
};

struct RunCase {
    const char* name;
    const char16_t* code;
    bool isRaiseError;
    bool expected;
    const char16_t* result;
    long eventNumber; // 0: no event
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class RunCodeTable : public testing::TestWithParam<RunCase> {};

TEST_P(RunCodeTable, FollowsTheCallAndBareWordRules) {
    const RunCase& c = GetParam();
    Evaluator e;
    e.engine->values = {{QStringLiteral("1+1"), QStringLiteral("2")},
                        {QStringLiteral("abc"), QString()},
                        {QStringLiteral("今日は晴れ"), QString()},
                        {QStringLiteral("my_name"), QString()},
                        {QStringLiteral("Foo()"), QString()},
                        {QStringLiteral("Date"), QStringLiteral("2025/04/01")},
                        {QStringLiteral("x1"), QStringLiteral("5")}};
    e.engine->goodStatements = {QStringLiteral("Call Foo"), QStringLiteral("CALLFOO"),
                                QStringLiteral("callback()")};
    const QString code = QString::fromUtf16(c.code);
    EXPECT_EQ(e.eval->RunCode(code, c.isRaiseError), c.expected);
    EXPECT_EQ(e.eval->Result(), QString::fromUtf16(c.result));
    if (c.eventNumber == 0) {
        EXPECT_TRUE(e.events.empty());
    } else {
        ASSERT_EQ(e.events.size(), 1u);
        EXPECT_EQ(e.events[0].first, c.eventNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunCodeTable,
    testing::Values(RunCase{"expression", u"1+1", true, true, u"2", 0},
                    RunCase{"bare word evaluating to empty", u"abc", true, false, u"", 0},
                    RunCase{"bare word that fails", u"zzz", true, false, u"", 0},
                    RunCase{"bare word with a value", u"x1", true, true, u"5", 0},
                    RunCase{"empty line", u"", true, false, u"", 0},
                    RunCase{"call statement", u"Call Foo", true, true, u"", 0},
                    RunCase{"call without blank is letters only", u"CALLFOO", true, false, u"", 0},
                    RunCase{"call prefix of a name", u"callback()", true, true, u"", 0},
                    RunCase{"failing call statement", u"Call Bar", true, false, u"", 13},
                    RunCase{"empty result of a call expression", u"Foo()", true, true, u"", 0},
                    RunCase{"syntax error reported", u"1+", true, false, u"", 1002},
                    RunCase{"syntax error silent", u"1+", false, false, u"", 0},
                    RunCase{"japanese prose silent", u"今日は、晴れ", false, false, u"", 0},
                    RunCase{"japanese word evaluating to empty", u"今日は晴れ", true, false, u"",
                            0},
                    RunCase{"underscore name evaluating to empty", u"my_name", true, true, u"", 0},
                    RunCase{"date", u"Date", true, true, u"2025/04/01", 0}));

TEST(CEval, StatementAfterExpressionEmptiesTheResult) {
    Evaluator e;
    e.engine->values = {{QStringLiteral("1+1"), QStringLiteral("2")}};
    e.engine->goodStatements = {QStringLiteral("Call Foo")};
    ASSERT_TRUE(e.eval->RunCode(QStringLiteral("1+1"), true));
    ASSERT_EQ(e.eval->Result(), QStringLiteral("2"));
    EXPECT_TRUE(e.eval->RunCode(QStringLiteral("Call Foo"), true));
    EXPECT_EQ(e.eval->Result(), QString());
}

TEST(CEval, ErrorHandlerGetsNumberAndDescriptionOnce) {
    Evaluator e;
    EXPECT_FALSE(e.eval->RunCode(QStringLiteral("1+"), true));
    ASSERT_EQ(e.events.size(), 1u);
    EXPECT_EQ(e.events[0].first, 1002);
    EXPECT_EQ(e.events[0].second, QStringLiteral("構文エラーです。"));
}

TEST(CEval, WithoutAnEngineNothingRuns) {
    CEval eval(std::unique_ptr<script::ScriptEngine>{});
    int errors = 0;
    eval.setErrorHandler([&errors](long, const QString&) { ++errors; });
    EXPECT_FALSE(eval.Executable());
    EXPECT_EQ(eval.Language(), QString());
    EXPECT_FALSE(eval.RunCode(QStringLiteral("1+1"), true));
    eval.setAddCodeFile(QStringLiteral("/nonexistent/scrivlet.vbs"));
    EXPECT_EQ(eval.AddCodeFile(), QString());
    EXPECT_FALSE(eval.Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>()));
    EXPECT_EQ(errors, 0);
}

TEST(CEval, LanguageRejectionOnlyByInvalidPropertyValue) {
    const struct {
        long error;
        bool executable;
    } rows[] = {{0, true}, {380, false}, {5, true}};
    for (const auto& row : rows) {
        auto fake = std::make_unique<FakeScriptEngine>();
        fake->languageError = row.error;
        CEval eval(std::move(fake));
        EXPECT_EQ(eval.Executable(), row.executable) << row.error;
        EXPECT_EQ(eval.Language(), row.executable ? QStringLiteral("VBScript") : QString());
    }
}

TEST(CEval, MissingScriptFileCountsAsLoaded) {
    Evaluator e;
    const QString folder = testsupport::freshFolder();
    for (const QString& path : {folder + QStringLiteral("/scrivlet.vbs"), folder}) {
        e.eval->setAddCodeFile(path);
        EXPECT_EQ(e.eval->AddCodeFile(), path);
    }
    EXPECT_FALSE(e.engine->log.join(u'|').contains(QStringLiteral("code:")));
}

TEST(CEval, ScriptFileIsReadWithTheProgramCodec) {
    Evaluator e;
    const QString folder = testsupport::freshFolder();
    const QString cp932 = folder + QStringLiteral("/cp932.vbs");
    const QString utf8 = folder + QStringLiteral("/utf8.vbs");
    // "s = "あ"" in CP932 and in UTF-8.
    testsupport::writeFile(cp932, QByteArray("s = \"\x82\xA0\"\r\n"));
    testsupport::writeFile(utf8, QStringLiteral("s = \"あ\"\r\n").toUtf8());
    e.engine->goodCode = {QStringLiteral("s = \"あ\"\r\n")};
    for (const QString& path : {cp932, utf8}) {
        e.eval->setAddCodeFile(path);
        EXPECT_EQ(e.eval->AddCodeFile(), path);
    }
}

TEST(CEval, BrokenScriptFileReadsBackEmptyAndLaterReloadsGoWithoutIt) {
    Evaluator e;
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    testsupport::writeFile(path, QByteArray("Function ("));
    e.eval->setAddCodeFile(path);
    EXPECT_EQ(e.eval->AddCodeFile(), QString());
    e.engine->log.clear();
    EXPECT_TRUE(e.eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>()));
    EXPECT_EQ(e.engine->log, QStringList({QStringLiteral("reset"), QStringLiteral("object:VBA")}));
    // Writing the path again tries the file again.
    e.engine->goodCode = {QStringLiteral("Function (")};
    e.eval->setAddCodeFile(path);
    EXPECT_EQ(e.eval->AddCodeFile(), path);
}

TEST(CEval, EveryAddReloadsTheFileAndAllObjectsInOrder) {
    Evaluator e;
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    testsupport::writeFile(path, QByteArray("Dim x"));
    e.engine->goodCode = {QStringLiteral("Dim x")};
    e.eval->setAddCodeFile(path);
    e.engine->log.clear();
    EXPECT_TRUE(e.eval->Add(QStringLiteral("Clipboard"), vbscript::makeRef<script::VBLike>()));
    EXPECT_TRUE(e.eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>()));
    EXPECT_TRUE(e.eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>()));
    // The objects before the code: the file's top-level statements may use them.
    const QStringList expected = {"reset",     "object:Clipboard", "code:Dim x",               //
                                  "reset",     "object:Clipboard", "object:VBA", "code:Dim x", //
                                  "reset",     "object:Clipboard", "object:VBA", "object:VBA",
                                  "code:Dim x"};
    EXPECT_EQ(e.engine->log, expected);
}

TEST(CEval, AddFailsAtTheFirstObjectTheEngineRefuses) {
    Evaluator e;
    e.engine->failingObject = QStringLiteral("Bad");
    EXPECT_FALSE(e.eval->Add(QStringLiteral("Bad"), vbscript::makeRef<script::VBLike>()));
    e.engine->log.clear();
    EXPECT_FALSE(e.eval->Add(QStringLiteral("VBA"), vbscript::makeRef<script::VBLike>()));
    EXPECT_EQ(e.engine->log, QStringList({QStringLiteral("reset"), QStringLiteral("object:Bad")}));
}

TEST(CEval, UnreadableScriptFileFailsToLoad) {
    Evaluator e;
    const QString path = testsupport::freshFolder() + QStringLiteral("/scrivlet.vbs");
    testsupport::writeFile(path, QByteArray("Dim x"));
    e.engine->goodCode = {QStringLiteral("Dim x")};
    platform::injectFileFault(path, platform::FileStep::Read, EACCES); // refused, even for root
    e.eval->setAddCodeFile(path);
    EXPECT_EQ(e.eval->AddCodeFile(), QString());
    platform::clearFileFaults();
}

} // namespace
