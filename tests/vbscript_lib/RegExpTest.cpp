#include "LibraryHarness.h"

using namespace vbscript;
using namespace vbscript::testing;

namespace {

Value regExp(std::u16string_view pattern, bool global = false, bool ignoreCase = false,
             bool multiline = false) {
    Value re = newObject(u"RegExp");
    let(re, u"Pattern", S(pattern));
    let(re, u"Global", B(global));
    let(re, u"IgnoreCase", B(ignoreCase));
    let(re, u"Multiline", B(multiline));
    return re;
}

bool test(const Value& re, std::u16string_view subject) {
    return toBool(get(re, u"Test", {S(subject)}));
}

std::u16string replace(const Value& re, std::u16string_view subject,
                       std::u16string_view replacement) {
    return toString(get(re, u"Replace", {S(subject), S(replacement)}));
}

} // namespace

TEST(RegExp, PropertiesReadBack) {
    const Value re = regExp(u"a+", true, true, false);
    EXPECT_EQ(toString(get(re, u"Pattern")), u"a+");
    EXPECT_TRUE(toBool(get(re, u"Global")));
    EXPECT_TRUE(toBool(get(re, u"IgnoreCase")));
    EXPECT_FALSE(toBool(get(re, u"Multiline")));
    EXPECT_EQ(typeName(re), u"IRegExp2");
    EXPECT_EQ(typeName(newObject(u"VBScript.RegExp")), u"IRegExp2");
}

TEST(RegExp, TestHonoursCaseAndLines) {
    struct Row {
        const char16_t *pattern, *subject;
        bool ignoreCase, multiline, expected;
    };
    const Row rows[] = {
        {u"abc", u"xxabcxx", false, false, true},
        {u"ABC", u"abc", false, false, false},
        {u"ABC", u"abc", true, false, true},
        {u"^b", u"a\nb", false, false, false},
        {u"^b", u"a\nb", false, true, true},
        {u"a$", u"a\n", false, false, false}, // "$" is the very end without Multiline
        {u"a$", u"a\r\nb", false, true, true},
        {u"^\\d{3}-\\d{4}$", u"123-4567", false, false, true},
        {u"\\u3042", u"あ", false, false, true},
        {u"a.c", u"a\nc", false, false, false},
        {u"", u"anything", false, false, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(test(regExp(r.pattern, false, r.ignoreCase, r.multiline), r.subject), r.expected)
            << toUtf8(r.pattern) << " / " << toUtf8(r.subject);
}

TEST(RegExp, ExecuteGivesMatchesWithSubMatches) {
    const Value re = regExp(u"(\\w+)@(\\w+)\\.com", true);
    const Value matches = get(re, u"Execute", {S(u"a@b.com x cd@ef.com")});
    ASSERT_EQ(toLong(get(matches, u"Count")), 2);
    const Value second = get(matches, u"Item", {I(1)});
    EXPECT_EQ(toString(get(second, u"Value")), u"cd@ef.com");
    EXPECT_EQ(toString(get(second, u"")), u"cd@ef.com"); // Value is the default member
    EXPECT_EQ(toLong(get(second, u"FirstIndex")), 10);
    EXPECT_EQ(toLong(get(second, u"Length")), 9);
    const Value groups = get(second, u"SubMatches");
    EXPECT_EQ(toLong(get(groups, u"Count")), 2);
    EXPECT_EQ(toString(get(groups, u"", {I(0)})), u"cd");
    EXPECT_EQ(toString(get(groups, u"Item", {I(1)})), u"ef");
    EXPECT_EQ(errorOf([&] { get(groups, u"Item", {I(2)}); }), 5);
    EXPECT_EQ(errorOf([&] { get(matches, u"Item", {I(2)}); }), 5);

    std::u16string values;
    for (const Value& match : forEach(matches))
        values += toString(get(match, u"Value")) + u";";
    EXPECT_EQ(values, u"a@b.com;cd@ef.com;");
    EXPECT_EQ(forEach(groups).size(), 2u);
}

TEST(RegExp, ExecuteWithoutGlobalFindsTheFirstOnly) {
    const Value matches = get(regExp(u"\\d+"), u"Execute", {S(u"a1 b22 c333")});
    ASSERT_EQ(toLong(get(matches, u"Count")), 1);
    EXPECT_EQ(toString(get(get(matches, u"Item", {I(0)}), u"Value")), u"1");
    EXPECT_EQ(toLong(get(get(regExp(u"x"), u"Execute", {S(u"abc")}), u"Count")), 0);
}

TEST(RegExp, UnmatchedGroupsAreEmpty) {
    const Value matches = get(regExp(u"(a)|(b)"), u"Execute", {S(u"b")});
    const Value groups = get(get(matches, u"Item", {I(0)}), u"SubMatches");
    EXPECT_TRUE(get(groups, u"Item", {I(0)}).isEmpty());
    EXPECT_EQ(toString(get(groups, u"Item", {I(1)})), u"b");
}

TEST(RegExp, ReplaceWithDollarForms) {
    struct Row {
        const char16_t *pattern, *subject, *replacement;
        bool global;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"(\\w+)@(\\w+)", u"ab@cd", u"$2 at $1", true, u"cd at ab"},
        {u"o", u"foo boo", u"0", false, u"f0o boo"},
        {u"o", u"foo boo", u"0", true, u"f00 b00"},
        {u"b+", u"abbbc", u"[$&]", true, u"a[bbb]c"},
        {u"b", u"abc", u"$`|$'", true, u"aa|cc"},
        {u"b", u"abc", u"$$", true, u"a$c"},
        {u"(b)", u"abc", u"$2$1", true, u"a$2bc"}, // a group that does not exist stays
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"abcdefghij", u"$10$1", true, u"ja"},
        {u"(a)", u"ab", u"$11", true, u"a1b"}, // $1 then "1": there is no group 11
        {u"x*", u"abc", u"-", true, u"-a-b-c-"},
        {u"^", u"a\nb", u">", true, u">a\nb"},
        {u"^", u"a\r\nb", u">", true, u">a\r\nb"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(replace(regExp(r.pattern, r.global), r.subject, r.replacement), r.expected)
            << toUtf8(r.pattern) << " / " << toUtf8(r.replacement);
    EXPECT_EQ(replace(regExp(u"^", true, false, true), u"a\r\nb", u">"), u">a\r\n>b");
}

// An object's text parameter takes a Boolean as the automation conversion gives it, unlike
// CStr: True is "-1", False "0".
TEST(RegExp, BooleanArgumentsBecomeNumberText) {
    const Value re = regExp(u"b", true);
    EXPECT_EQ(toString(get(re, u"Replace", {S(u"abc"), B(true)})), u"a-1c");
    EXPECT_EQ(toString(get(re, u"Replace", {S(u"abc"), B(false)})), u"a0c");
    const Value digits = regExp(u"-\\d", true);
    EXPECT_TRUE(toBool(get(digits, u"Test", {B(true)})));
    EXPECT_EQ(toString(callWith(u"CStr", {B(true)})), u"True");
}

TEST(RegExp, BadPatternsRaiseTheLanguageErrors) {
    struct Row {
        const char16_t* pattern;
        int error;
    };
    const Row rows[] = {
        {u"(a", 5020}, {u"a)", 5020}, {u"[a", 5019}, {u"*a", 5018}, {u"[z-a]", 5021},
    };
    for (const Row& r : rows) {
        const Value re = regExp(r.pattern);
        EXPECT_EQ(errorOf([&] { test(re, u"a"); }), r.error) << toUtf8(r.pattern);
    }
    // A corrected pattern works again on the same object.
    const Value re = regExp(u"(a");
    EXPECT_NE(errorOf([&] { test(re, u"a"); }), 0);
    let(re, u"Pattern", S(u"(a)"));
    EXPECT_TRUE(test(re, u"a"));
}
