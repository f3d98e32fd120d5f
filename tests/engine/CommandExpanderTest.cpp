#include "engine/CommandExpander.h"
#include "EngineFakes.h"

#include <gtest/gtest.h>

using engine::CommandExpander;
using engine::CommandSource;
using enginetest::FakeCommandList;
using enginetest::ScriptedEvaluator;

namespace {

struct SplitCase {
    const char* name;
    const char* line;
    QStringList pieces;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

FakeCommandList sampleCommands() {
    FakeCommandList list;
    list.templates = {
        {QStringLiteral("n"), QStringLiteral("notepad.exe %a")},
        {QStringLiteral("both"), QStringLiteral("calc|n")},
        {QStringLiteral("bar"), QStringLiteral("a%|b")},
        {QStringLiteral("sum"), QStringLiteral("1,2")},
        {QStringLiteral("void"), QStringLiteral("%b")},
        {QStringLiteral("pct"), QStringLiteral("x%%|y")},
    };
    return list;
}

TEST_P(SplitTest, GivesThePieces) {
    const SplitCase& c = GetParam();
    FakeCommandList list = sampleCommands();
    CommandExpander expander(nullptr, nullptr);
    EXPECT_EQ(
        expander.SplitCommandLine(QString::fromUtf8(c.line), CommandSource::EditorList, &list),
        c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitTest,
    ::testing::Values(SplitCase{"blank", "   ", {}}, SplitCase{"empty", "", {}},
                      SplitCase{"doubleBar", "a||b", {"a", "b"}},
                      SplitCase{"trailingBar", "a|", {"a"}}, SplitCase{"leadingBar", "|a", {"a"}},
                      SplitCase{"onlyBars", "| |", {}}, SplitCase{"escapedBar", "x%|y", {"x|y"}},
                      SplitCase{"escapedThenCut", "x %| y|z", {"x | y", "z"}},
                      SplitCase{"trimAtCuts", "  a  |  b c  ", {"a", "b c"}},
                      SplitCase{"innerSpacesKept", "hello  world", {"hello  world"}},
                      SplitCase{
                          "commandWithSpacedArgs", "n  a.txt   b.txt", {"notepad.exe a.txt b.txt"}},
                      SplitCase{"chainLooksUpAgain", "both x", {"calc", "notepad.exe "}},
                      SplitCase{"escapedTemplateNotSplit", "bar", {"a|b"}},
                      SplitCase{"templateFillsToNothing", "void|z", {"z"}},
                      SplitCase{"doubledPercentBeforeBar", "pct", {"x|y"}},
                      SplitCase{"quotesMeanNothing", "n \"a b\"", {"notepad.exe \"a b\""}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReplaceCase {
    const char* name;
    const char* templ;
    QStringList arguments;
    const char* expected;
};

class ReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTest, FillsTheTemplate) {
    const ReplaceCase& c = GetParam();
    FakeCommandList list;
    list.templates = {{QStringLiteral("n"), QStringLiteral("y%b")}};
    ScriptedEvaluator eval;
    eval.results = {{QStringLiteral("1+2"), QStringLiteral("3")},
                    {QStringLiteral("1+1"), QStringLiteral("2")}};
    CommandExpander expander(nullptr, &eval);
    EXPECT_EQ(expander.ReplaceParameters(QString::fromUtf8(c.templ), c.arguments,
                                         CommandSource::EditorList, &list),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ReplaceTest,
    ::testing::Values(
        ReplaceCase{"twoArguments", "open %b and %c", {"x", "y"}, "open x and y"},
        ReplaceCase{"missingArgument", "open %b and %c", {"x"}, "open x and "},
        ReplaceCase{"allNone", "%a", {}, ""}, ReplaceCase{"allTwo", "%a", {"a", "b"}, "a b"},
        ReplaceCase{"allEncoded", "q=%A", {"a", "c&d"}, "q=a%20c%26d"},
        ReplaceCase{"encodedJapanese", "q=%B", {"あ"}, "q=%E3%81%82"},
        ReplaceCase{
            "shiftJisTemplate", "%[Shift_JIS]q=%A&r=%c", {"あ", "い"}, "q=%82%A0%20%82%A2&r=い"},
        ReplaceCase{"shiftJisMarkerAnyCase", "%[shift_jis]%B|x %B", {"あ"}, "%82%A0|x %82%A0"},
        ReplaceCase{
            "markerOnlyAtTheStart", "q=%B %[Shift_JIS]", {"あ"}, "q=%E3%81%82 %[Shift_JIS]"},
        ReplaceCase{"literalMarker", "%%[Shift_JIS]%B", {"あ"}, "%[Shift_JIS]%E3%81%82"},
        ReplaceCase{"percent", "100%%", {}, "100%"}, ReplaceCase{"fourPercent", "%%%%", {}, "%"},
        ReplaceCase{"unknownPlaceholder", "%1", {}, "%1"},
        ReplaceCase{"trailingPercent", "50%", {}, "50%"},
        ReplaceCase{"lastArgumentLetter", "[%x]", {"a"}, "[]"},
        ReplaceCase{"barSurvives", "a%|b", {}, "a%|b"},
        ReplaceCase{"expression", "%{1+2}", {}, "3"},
        ReplaceCase{"failedExpressionKeepsText", "%{1+}", {}, "1+"},
        ReplaceCase{"unclosedExpression", "=%{1+2", {}, "=3"},
        ReplaceCase{"inlineCommand", "[%`n x`]", {}, "[yx]"},
        ReplaceCase{"inlineUnknown", "[%`m x`]", {}, "[m x]"},
        ReplaceCase{"inlineBlank", "[%` `]", {}, "[ ]"},
        ReplaceCase{"inlineUnclosed", "[%`n z", {}, "[yz"},
        ReplaceCase{"doubledPercentDoesNotProtect", "%%{1+2}", {}, "3"},
        ReplaceCase{"argumentIsEvaluated", "%a", {"%{1+1}"}, "2"},
        ReplaceCase{"argumentFromInline", "%`n %b`", {"q"}, "yq"}),
    [](const auto& info) { return std::string(info.param.name); });

// What a search site receives for a typed word: UTF-8 by default; Shift_JIS on request, where a
// character the code page lacks goes as the numeric reference a browser would send.
struct EncodeCase {
    const char* name;
    const char* text;
    const char* utf8;
    const char* shiftJis;
};

class UrlEncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(UrlEncodeTest, PercentEncodesTheBytes) {
    const EncodeCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(engine::URLEncode(text), QString::fromUtf8(c.utf8));
    EXPECT_EQ(engine::URLEncode(text, engine::UrlCodePage::ShiftJis),
              QString::fromUtf8(c.shiftJis));
}

INSTANTIATE_TEST_SUITE_P(
    Words, UrlEncodeTest,
    ::testing::Values(EncodeCase{"empty", "", "", ""},
                      EncodeCase{"japanese", "東京 タワー",
                                 "%E6%9D%B1%E4%BA%AC%20%E3%82%BF%E3%83%AF%E3%83%BC",
                                 "%93%8C%8B%9E%20%83%5E%83%8F%81%5B"},
                      EncodeCase{"halfWidthKana", "ｶﾅ", "%EF%BD%B6%EF%BE%85", "%B6%C5"},
                      EncodeCase{"accentedLatin", "café", "caf%C3%A9", "caf%26%23233%3B"},
                      EncodeCase{"korean", "한국어", "%ED%95%9C%EA%B5%AD%EC%96%B4",
                                 "%26%2354620%3B%26%2344397%3B%26%2350612%3B"},
                      EncodeCase{"emoji", "😀", "%F0%9F%98%80", "%26%23128512%3B"},
                      EncodeCase{"waveDash", "〜", "%E3%80%9C", "%81%60"},
                      EncodeCase{"minusSign", "−5", "%E2%88%925", "%81%7C5"},
                      EncodeCase{"yen", "¥", "%C2%A5", "%5C"},
                      EncodeCase{"reserved", "a b&c=d/e?f#g+h%i~j.k-l_m*n",
                                 "a%20b%26c%3Dd%2Fe%3Ff%23g%2Bh%25i%7Ej%2Ek%2Dl%5Fm%2An",
                                 "a%20b%26c%3Dd%2Fe%3Ff%23g%2Bh%25i%7Ej%2Ek%2Dl%5Fm%2An"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplaceParameters, ReportsEachFailingExpressionOnce) {
    ScriptedEvaluator eval;
    QList<long> numbers;
    eval.setErrorHandler([&](long number, const QString&) { numbers.append(number); });
    CommandExpander expander(nullptr, &eval);
    EXPECT_EQ(
        expander.ReplaceParameters(QStringLiteral("%{1+} %{2*}"), {}, CommandSource::IniCommands),
        QStringLiteral("1+ 2*"));
    EXPECT_EQ(numbers, (QList<long>{1002, 1002}));
}

TEST(ReplaceParameters, WithoutEvaluatorLeavesExpressions) {
    CommandExpander expander(nullptr, nullptr);
    EXPECT_EQ(expander.ReplaceParameters(QStringLiteral("%{1+2}"), {}, CommandSource::IniCommands),
              QStringLiteral("1+2"));
}

TEST(ExpandCommand, UnknownOrBlankPieces) {
    FakeCommandList list = sampleCommands();
    CommandExpander expander(nullptr, nullptr);
    EXPECT_EQ(expander.ExpandCommand(QStringLiteral("   "), CommandSource::EditorList, &list),
              QString());
    EXPECT_EQ(expander.ExpandCommand(QStringLiteral("zz  a"), CommandSource::EditorList, &list),
              QStringLiteral("zz  a"));
    EXPECT_EQ(expander.ExpandCommand(QStringLiteral("void"), CommandSource::EditorList, &list),
              QString());
    // The editor source without a list finds nothing.
    EXPECT_EQ(expander.ExpandCommand(QStringLiteral("n a"), CommandSource::EditorList, nullptr),
              QStringLiteral("n a"));
}

// A command that leads back to itself stops at the depth limit instead of exhausting the stack.
TEST(ExpansionLimit, ThroughBarChains) {
    FakeCommandList list;
    list.templates = {{QStringLiteral("loop"), QStringLiteral("x|loop")}};
    CommandExpander expander(nullptr, nullptr);
    const QStringList pieces =
        expander.SplitCommandLine(QStringLiteral("loop"), CommandSource::EditorList, &list);
    ASSERT_EQ(pieces.size(), CommandExpander::maxDepth + 1);
    EXPECT_EQ(pieces.count(QStringLiteral("x")), CommandExpander::maxDepth);
    EXPECT_EQ(pieces.last(), QStringLiteral("loop"));
}

TEST(ExpansionLimit, ThroughInlineCommands) {
    FakeCommandList list;
    list.templates = {{QStringLiteral("r"), QStringLiteral("[%`r`]")}};
    CommandExpander expander(nullptr, nullptr);
    const QStringList pieces =
        expander.SplitCommandLine(QStringLiteral("r"), CommandSource::EditorList, &list);
    const QString expected = QString(CommandExpander::maxDepth, QLatin1Char('[')) +
                             QStringLiteral("r") +
                             QString(CommandExpander::maxDepth, QLatin1Char(']'));
    EXPECT_EQ(pieces, QStringList{expected});
}

TEST(ExpansionLimit, FanOutEndsWithinTheBudget) {
    FakeCommandList list;
    list.templates = {{QStringLiteral("a"), QStringLiteral("a|a")},
                      {QStringLiteral("b"), QStringLiteral("%`b`%`b`")}};
    CommandExpander expander(nullptr, nullptr);
    const QStringList pieces =
        expander.SplitCommandLine(QStringLiteral("a|b"), CommandSource::EditorList, &list);
    EXPECT_FALSE(pieces.isEmpty());
    EXPECT_LT(pieces.size(), 5000);
}

// Arguments that reappear twice in a nested call double the text at every level; the expansion
// gives up at a size limit instead of building gigabytes.
TEST(ExpansionLimit, DoublingArgumentsStayBounded) {
    FakeCommandList list;
    list.templates = {{QStringLiteral("c"), QStringLiteral("C%`c %a %a`")},
                      {QStringLiteral("x"), QStringLiteral("X|x %A %A")}};
    CommandExpander expander(nullptr, nullptr);
    for (const QString& line : {QStringLiteral("c x"), QStringLiteral("x y")}) {
        const QStringList pieces =
            expander.SplitCommandLine(line, CommandSource::EditorList, &list);
        ASSERT_FALSE(pieces.isEmpty()) << line.toStdString();
        qsizetype total = 0;
        for (const QString& piece : pieces)
            total += piece.size();
        EXPECT_LT(total, 64 * 65536) << line.toStdString();
    }
}

TEST(ExpansionLimit, EvaluatorThatKeepsProducingExpressions) {
    ScriptedEvaluator eval;
    eval.results = {{QStringLiteral("again"), QStringLiteral("%{again}")}};
    CommandExpander expander(nullptr, &eval);
    const QString text =
        expander.ReplaceParameters(QStringLiteral("%{again}"), {}, CommandSource::IniCommands);
    EXPECT_EQ(text, QStringLiteral("%{again}"));
}

} // namespace
