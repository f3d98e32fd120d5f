#include "vbscript/builtins/TextOps.h"

#include <gtest/gtest.h>

using namespace vbscript::lib;

namespace {
constexpr CompareMode kBin = CompareMode::Binary;
constexpr CompareMode kText = CompareMode::Text;
} // namespace

TEST(TextOps, CaseMappingCoversLatinGreekCyrillicAndFullWidth) {
    EXPECT_EQ(toUpper(u"abcÀéÿžαжｚ123あ"), u"ABCÀÉŸŽΑЖＺ123あ");
    EXPECT_EQ(toLower(u"ABCÀÉŸŽΑЖЁＺ123ア"), u"abcàéÿžαжёｚ123ア");
}

TEST(TextOps, TextCompareIgnoresCaseWidthAndKanaType) {
    struct Row {
        const char16_t *a, *b;
        CompareMode mode;
        int expected;
    };
    const Row rows[] = {
        {u"abc", u"ABC", kText, 0},    {u"abc", u"ABC", kBin, 1},
        {u"ＡＢＣ", u"abc", kText, 0}, {u"あいう", u"アイウ", kText, 0},
        {u"ｱｲｳ", u"あいう", kText, 0}, {u"a", u"b", kText, -1},
        {u"ab", u"a", kBin, 1},        {u"", u"", kBin, 0},
        {u"a", u"ab", kText, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(compareText(r.a, r.b, r.mode), r.expected)
            << std::u16string(r.a).size() << int(r.mode);
}

TEST(TextOps, FindForwardAndBackward) {
    EXPECT_EQ(findText(u"abcabc", u"c", 0, kBin), 2u);
    EXPECT_EQ(findText(u"abcabc", u"c", 3, kBin), 5u);
    EXPECT_EQ(findText(u"abcabc", u"C", 0, kBin), kNotFound);
    EXPECT_EQ(findText(u"abcabc", u"C", 0, kText), 2u);
    EXPECT_EQ(findText(u"abc", u"", 3, kBin), 3u);
    EXPECT_EQ(findText(u"abc", u"x", 9, kBin), kNotFound);
    EXPECT_EQ(findTextReverse(u"abcabc", u"bc", 6, kBin), 4u);
    EXPECT_EQ(findTextReverse(u"abcabc", u"bc", 5, kBin), 1u);
    EXPECT_EQ(findTextReverse(u"abcabc", u"BC", 6, kText), 4u);
    EXPECT_EQ(findTextReverse(u"abc", u"abcd", 3, kBin), kNotFound);
}

TEST(TextOps, ReplaceWithStartAndCount) {
    struct Row {
        const char16_t *expression, *find, *with;
        size_t from;
        long long count;
        CompareMode mode;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"abcabc", u"b", u"X", 0, -1, kBin, u"aXcaXc"},
        {u"abcabc", u"b", u"X", 2, -1, kBin, u"caXc"}, // the result starts at `from`
        {u"abcabc", u"b", u"X", 0, 1, kBin, u"aXcabc"},
        {u"abcabc", u"b", u"X", 0, 0, kBin, u"abcabc"},
        {u"ABCabc", u"b", u"-", 0, -1, kText, u"A-Ca-c"},
        {u"ABCabc", u"b", u"-", 0, -1, kBin, u"ABCa-c"},
        {u"abc", u"", u"X", 0, -1, kBin, u"abc"},
        {u"abc", u"b", u"", 0, -1, kBin, u"ac"},
        {u"abc", u"b", u"X", 3, -1, kBin, u""},
        {u"aaaa", u"aa", u"b", 0, -1, kBin, u"bb"},
        {u"あいあい", u"イ", u"x", 0, -1, kText, u"あxあx"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(replaceText(r.expression, r.find, r.with, r.from, r.count, r.mode), r.expected)
            << std::u16string(r.expression).size() << " " << r.from << " " << r.count;
}

TEST(TextOps, SplitWithLimits) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(splitText(u"a,b,,c", u",", -1, kBin), (V{u"a", u"b", u"", u"c"}));
    EXPECT_EQ(splitText(u"a,b,,c", u",", 2, kBin), (V{u"a", u"b,,c"}));
    EXPECT_EQ(splitText(u"a,b,,c", u",", 1, kBin), (V{u"a,b,,c"}));
    EXPECT_EQ(splitText(u"a,b", u",", 0, kBin), V{});
    EXPECT_EQ(splitText(u"", u",", -1, kBin), V{});
    EXPECT_EQ(splitText(u"abc", u"", -1, kBin), (V{u"abc"}));
    EXPECT_EQ(splitText(u"a,", u",", -1, kBin), (V{u"a", u""}));
    EXPECT_EQ(splitText(u"aXbxc", u"x", -1, kText), (V{u"a", u"b", u"c"}));
    EXPECT_EQ(splitText(u"aXbxc", u"x", -1, kBin), (V{u"aXb", u"c"}));
    EXPECT_EQ(splitText(u"a  b", u" ", -1, kBin), (V{u"a", u"", u"b"}));
}

TEST(TextOps, TrimRemovesSpacesOnly) {
    EXPECT_EQ(trimLeft(u"  a b  "), u"a b  ");
    EXPECT_EQ(trimRight(u"  a b  "), u"  a b");
    EXPECT_EQ(trimLeft(u"\ta"), u"\ta");
    EXPECT_EQ(trimRight(u"    "), u"");
}

TEST(TextOps, EscapeAndUnescape) {
    struct Row {
        const char16_t *plain, *escaped;
    };
    const Row rows[] = {
        {u"abcXYZ019", u"abcXYZ019"},
        {u"@*_+-./", u"@*_+-./"},
        {u"a b&c", u"a%20b%26c"},
        {u"é", u"%E9"},
        {u"あ", u"%u3042"},
        {u"%", u"%25"},
        {u"\n", u"%0A"},
        {u"", u""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(escapeText(r.plain), r.escaped);
        EXPECT_EQ(unescapeText(r.escaped), r.plain);
    }
    EXPECT_EQ(unescapeText(u"%u30a2%zz%4%"), u"ア%zz%4%");
    EXPECT_EQ(unescapeText(u"%u12"), u"%u12");
}

TEST(TextOps, BytesOfTheUtf16Form) {
    EXPECT_EQ(toBytes(u"Aあ"), std::string("A\0\x42\x30", 4));
    EXPECT_EQ(fromBytes(std::string("A\0\x42\x30", 4)), u"Aあ");
    EXPECT_EQ(fromBytes(std::string("A", 1)), u"A"); // an odd byte is padded with zero
}
