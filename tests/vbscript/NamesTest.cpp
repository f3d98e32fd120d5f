// Names beyond ASCII: letters of every script make names; symbols and punctuation are the
// invalid-character error. And what the engine tells its host about the names it knows.
#include "ScriptHarness.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

TEST(Names, LettersOfEveryScriptSymbolsAreInvalid) {
    struct Row {
        const char* expression;
        const char* expected; // "text:TypeName" or "error N"
    } rows[] = {
        {"合計(1, 2)", "3:Integer"},    {"ｶﾀｶﾅ_1 + 1", "2:Integer"},
        {"挨拶ー々 & \"\"", ":String"}, {"café & \"\"", ":String"},
        {"한국어 & \"\"", ":String"},   {"𠮷野家 & \"\"", ":String"},
        {"x１ & \"\"", ":String"}, // a full-width digit continues a name
        {"今日は晴れ。", "error 1032"}, {"明日は、雨", "error 1032"},
        {"「本日」", "error 1032"},     {"★メモ", "error 1032"},
        {"買い物：牛乳", "error 1032"}, {"東京→大阪", "error 1032"},
        {"資料・議事録", "error 1032"}, {"えーと…", "error 1032"},
        {"〜まで", "error 1032"},       {"−5", "error 1032"},
        {"１個", "error 1032"}, // nor does it begin one
        {"晴れ😀", "error 1032"},        {"3個", "error 1025"},
    };
    Engine engine;
    engine.setLanguage(u"VBScript");
    ASSERT_TRUE(engine.addCode(u"Function 合計(a, b)\n合計 = a + b\nEnd Function\nｶﾀｶﾅ_1 = 1"));
    for (const Row& row : rows)
        EXPECT_EQ(evalText(engine, row.expression), row.expected) << row.expression;
}

TEST(Names, WhatTheEngineKnows) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    ASSERT_TRUE(engine.addCode(u"Function 合計(a, b)\nEnd Function\nConst 挨拶 = 1\n"
                               u"Dim 予定\nClass 会議\nEnd Class"));
    engine.addObject(u"VBA", makeRef<OutputObject>());
    for (const char16_t* known : {u"date", u"DATE", u"true", u"vbCrLf", u"Len", u"RegExp", u"If",
                                  u"Err", u"VBA", u"合計", u"挨拶", u"予定", u"会議"})
        EXPECT_TRUE(engine.definesName(known)) << toUtf8(known);
    for (const char16_t* unknown : {u"yes", u"sleep", u"id", u"東京", u"", u"date x", u"1"})
        EXPECT_FALSE(engine.definesName(unknown)) << toUtf8(unknown);

    struct Row {
        const char16_t* code;
        std::vector<std::u16string> unknown;
    } rows[] = {
        {u"東京-大阪", {u"東京", u"大阪"}},
        {u"予定=会議", {}},
        {u"合計(x, 2) & \"東京\"", {u"x"}},
        {u"VBA.東京 + Len(a.b)", {u"a"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(engine.unknownNames(row.code), row.unknown) << toUtf8(row.code);
    EXPECT_EQ(engine.unknownNames(u"今日は晴れ。"), std::nullopt);
    // Asking defines nothing: an evaluation that mentions a name does not make it known.
    engine.eval(u"東京 & \"\"");
    EXPECT_FALSE(engine.definesName(u"東京"));
}

} // namespace
} // namespace vbstest
