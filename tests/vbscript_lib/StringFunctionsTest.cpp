#include "LibraryHarness.h"

using namespace vbscript;
using namespace vbscript::testing;

namespace {

Value arrayOf(std::initializer_list<const char16_t*> items) {
    std::vector<Value> values;
    for (const char16_t* item : items)
        values.push_back(S(item));
    return Value::array(ArrayData::fromValues(std::move(values)));
}

std::u16string joined(const Value& array) {
    return toString(callWith(u"Join", {array, S(u"|")}));
}

} // namespace

TEST(StringFunctions, LengthsAndPieces) {
    const Value missing = Value::missing();
    runRows({
        {u"Len", {S(u"abc")}, L(3)},
        {u"Len", {S(u"")}, L(0)},
        {u"Len", {I(123)}, L(3)},
        {u"Len", {Value::null()}, Value::null()},
        {u"LenB", {S(u"aあ")}, L(4)},
        {u"Left", {S(u"abc"), I(2)}, S(u"ab")},
        {u"Left", {S(u"abc"), I(5)}, S(u"abc")},
        {u"Left", {Value::null(), I(1)}, Value::null()},
        fails(u"Left", {S(u"abc"), I(-1)}, 5),
        {u"Right", {S(u"abc"), I(2)}, S(u"bc")},
        {u"Right", {S(u"abc"), I(9)}, S(u"abc")},
        {u"Mid", {S(u"abcdef"), I(2), I(3)}, S(u"bcd")},
        {u"Mid", {S(u"abc"), I(2)}, S(u"bc")},
        {u"Mid", {S(u"abc"), I(5)}, S(u"")}, // beyond the end
        {u"Mid", {S(u"abc"), I(3), I(10)}, S(u"c")},
        {u"Mid", {S(u"abc"), I(4), I(1)}, S(u"")},
        fails(u"Mid", {S(u"abc"), I(0)}, 5),
        fails(u"Mid", {S(u"abc"), I(1), I(-1)}, 5),
        fails(u"Mid", {S(u"abc"), Value::null()}, 94),
        {u"LeftB", {S(u"abc"), I(2)}, S(u"a")},
        {u"RightB", {S(u"abc"), I(2)}, S(u"c")},
        {u"MidB", {S(u"abc"), I(3), I(2)}, S(u"b")},
        {u"MidB", {S(u"abc"), I(3)}, S(u"bc")},
        fails(u"MidB", {S(u"abc"), I(0)}, 5),
        // A parameter left out by the caller (VarType 10) passed on: it has no text and no
        // number, except where the argument is optional.
        {u"Mid", {S(u"abc"), I(2), missing}, S(u"bc")},
        {u"MidB", {S(u"abc"), I(3), missing}, S(u"bc")},
        fails(u"Mid", {missing, I(1), I(1)}, 13),
        fails(u"Mid", {S(u"abc"), missing, I(1)}, 13),
        fails(u"Left", {missing, I(1)}, 13),
        fails(u"Left", {S(u"abc"), missing}, 13),
        fails(u"Right", {missing, I(1)}, 13),
        fails(u"Right", {S(u"abc"), missing}, 13),
        fails(u"Len", {missing}, 13),
    });
}

TEST(StringFunctions, CaseTrimAndRepetition) {
    runRows({
        {u"UCase", {S(u"abcあｚ")}, S(u"ABCあＺ")},
        {u"LCase", {S(u"ÀBC")}, S(u"àbc")},
        {u"UCase", {Value::null()}, Value::null()},
        {u"Trim", {S(u"  a b  ")}, S(u"a b")},
        {u"LTrim", {S(u"  a ")}, S(u"a ")},
        {u"RTrim", {S(u" a  ")}, S(u" a")},
        {u"Trim", {S(u"\ta\t")}, S(u"\ta\t")},
        {u"Space", {I(3)}, S(u"   ")},
        fails(u"Space", {I(-1)}, 5),
        fails(u"Space", {L(2147483647)}, 14),
        fails(u"String", {L(2147483647), S(u"a")}, 14),
        {u"String", {I(3), S(u"ab")}, S(u"aaa")},
        {u"String", {I(2), I(65)}, S(u"AA")},
        {u"String", {I(2), I(321)}, S(u"AA")}, // codes above 255 wrap
        {u"String", {I(2), Value::null()}, Value::null()},
        fails(u"String", {I(2), S(u"")}, 5),
        fails(u"String", {I(-1), S(u"a")}, 5),
        {u"StrReverse", {S(u"abcあ")}, S(u"あcba")},
        fails(u"StrReverse", {Value::null()}, 94),
    });
}

TEST(StringFunctions, CharacterCodesFollowCodePage932) {
    runRows({
        {u"Asc", {S(u"A")}, I(65)},
        {u"Asc", {S(u"あい")}, I(-32096)}, // 0x82A0 as a signed Integer
        {u"Asc", {S(u"ｱ")}, I(177)},
        {u"Asc", {S(u"€")}, I(63)}, // no code in the code page: "?"
        fails(u"Asc", {S(u"")}, 5),
        fails(u"Asc", {Value::null()}, 94),
        {u"AscW", {S(u"あ")}, I(12354)},
        {u"AscW", {S(u"\uFF01")}, I(-255)},
        {u"AscB", {S(u"あ")}, I(0x42)},
        {u"Chr", {I(65)}, S(u"A")},
        {u"Chr", {I(-32096)}, S(u"あ")},
        {u"Chr", {L(0x82A0)}, S(u"あ")},
        {u"Chr", {I(177)}, S(u"ｱ")},
        fails(u"Chr", {L(70000)}, 5),
        fails(u"Chr", {I(0x81)}, 5), // a lead byte alone names no character
        fails(u"Chr", {L(0x9F)}, 5),
        // Single bytes a Japanese system decodes outside the code page's table.
        {u"Chr", {I(255)}, S(u"\uF8F3")},
        {u"Chr", {I(0xFD)}, S(u"\uF8F1")},
        {u"Chr", {I(0xA0)}, S(u"\uF8F0")},
        {u"Chr", {I(0x80)}, S(u"\u0080")},
        {u"Asc", {S(u"\uF8F3")}, I(255)},
        {u"Asc", {S(u"\u0080")}, I(0x80)},
        {u"Asc", {S(u"\uF8F4")}, I(63)}, // private use beyond them has no code
        {u"Asc", {S(u"ÿ")}, I(63)},
        {u"String", {I(2), I(255)}, S(u"\uF8F3\uF8F3")},
        {u"ChrW", {L(12354)}, S(u"あ")},
        {u"ChrW", {I(-1)}, S(u"\uFFFF")},
        fails(u"ChrW", {L(65536)}, 5),
        {u"ChrB", {I(65)}, S(u"A")},
        fails(u"ChrB", {I(256)}, 5),
    });
}

TEST(StringFunctions, SearchingAndComparing) {
    const Value missing = Value::missing();
    runRows({
        {u"InStr", {S(u"abcabc"), S(u"c")}, L(3)},
        {u"InStr", {I(4), S(u"abcabc"), S(u"c")}, L(6)},
        {u"InStr", {I(1), S(u"ABC"), S(u"b"), I(1)}, L(2)},
        {u"InStr", {I(1), S(u"ABC"), S(u"b"), I(0)}, L(0)},
        {u"InStr", {I(1), S(u"あいう"), S(u"イ"), I(1)}, L(2)},
        {u"InStr", {S(u"abc"), S(u"")}, L(1)},
        {u"InStr", {I(5), S(u"abc"), S(u"a")}, L(0)},
        {u"InStr", {Value::null(), S(u"a")}, Value::null()},
        fails(u"InStr", {I(0), S(u"a"), S(u"a")}, 5),
        fails(u"InStr", {I(1), S(u"a"), S(u"a"), I(7)}, 5),
        {u"InStrB", {S(u"abc"), S(u"b")}, L(3)},
        {u"InStrRev", {S(u"abcabc"), S(u"b")}, L(5)},
        {u"InStrRev", {S(u"abcabc"), S(u"b"), I(4)}, L(2)},
        {u"InStrRev", {S(u"abc"), S(u"B"), I(-1), I(1)}, L(2)},
        {u"InStrRev", {S(u"abc"), S(u""), missing}, L(3)},
        {u"InStrRev", {S(u"abc"), S(u"a"), I(9)}, L(0)},
        fails(u"InStrRev", {S(u"abc"), S(u"b"), I(0)}, 5),
        {u"StrComp", {S(u"a"), S(u"B")}, I(1)},
        {u"StrComp", {S(u"a"), S(u"B"), I(1)}, I(-1)},
        {u"StrComp", {S(u"abc"), S(u"ABC"), I(1)}, I(0)},
        {u"StrComp", {S(u"ｶﾅ"), S(u"かな"), I(1)}, I(0)},
        {u"StrComp", {Value::null(), S(u"a")}, Value::null()},
    });
}

TEST(StringFunctions, ReplaceWithStartAndCount) {
    const Value missing = Value::missing();
    runRows({
        {u"Replace", {S(u"abcabc"), S(u"b"), S(u"X")}, S(u"aXcaXc")},
        {u"Replace", {S(u"abcabc"), S(u"b"), S(u"X"), I(3)}, S(u"caXc")},
        {u"Replace", {S(u"abcabc"), S(u"b"), S(u"X"), I(1), I(1)}, S(u"aXcabc")},
        {u"Replace", {S(u"abcabc"), S(u"b"), S(u"X"), I(3), I(1)}, S(u"caXc")},
        {u"Replace", {S(u"ABab"), S(u"b"), S(u"-"), I(1), I(-1), I(1)}, S(u"A-a-")},
        {u"Replace", {S(u"ABab"), S(u"b"), S(u"-"), missing, missing, I(0)}, S(u"ABa-")},
        {u"Replace", {S(u"abc"), S(u""), S(u"X")}, S(u"abc")},
        {u"Replace", {S(u"abc"), S(u"b"), S(u"X"), I(9)}, S(u"")},
        fails(u"Replace", {S(u"abc"), S(u"b"), S(u"X"), I(0)}, 5),
        fails(u"Replace", {S(u"abc"), S(u"b"), S(u"X"), I(1), I(-2)}, 5),
        fails(u"Replace", {Value::null(), S(u"b"), S(u"X")}, 94),
    });
}

TEST(StringFunctions, SplitJoinAndFilter) {
    const Value missing = Value::missing();
    EXPECT_EQ(joined(callWith(u"Split", {S(u"a,b,,c"), S(u",")})), u"a|b||c");
    EXPECT_EQ(joined(callWith(u"Split", {S(u"a,b,,c"), S(u","), I(2)})), u"a|b,,c");
    EXPECT_EQ(joined(callWith(u"Split", {S(u"a b c")})), u"a|b|c");
    EXPECT_EQ(joined(callWith(u"Split", {S(u"aXbxc"), S(u"x"), missing, I(1)})), u"a|b|c");
    const Value empty = callWith(u"Split", {S(u"")});
    ASSERT_TRUE(empty.isArray());
    EXPECT_EQ(empty.asArray()->ubound(0), -1);
    EXPECT_EQ(callWith(u"Split", {S(u"a,b"), S(u","), I(0)}).asArray()->items.size(), 0u);
    EXPECT_EQ(errorOf([] { callWith(u"Split", {S(u"a"), S(u","), I(-2)}); }), 5);

    EXPECT_EQ(toString(callWith(u"Join", {arrayOf({u"a", u"b"})})), u"a b");
    EXPECT_EQ(toString(callWith(u"Join", {arrayOf({})})), u"");
    EXPECT_EQ(errorOf([] { callWith(u"Join", {S(u"a")}); }), 13);
    EXPECT_EQ(errorOf([] { callWith(u"Join", {Value::null()}); }), 94);
    const Value withNull = Value::array(ArrayData::fromValues({S(u"a"), Value::null()}));
    EXPECT_EQ(errorOf([&] { callWith(u"Join", {withNull}); }), 13);
    const Value withEmpty = Value::array(ArrayData::fromValues({S(u"a"), Value(), I(1)}));
    EXPECT_EQ(joined(withEmpty), u"a||1");

    const Value fruit = arrayOf({u"apple", u"banana", u"cherry"});
    EXPECT_EQ(joined(callWith(u"Filter", {fruit, S(u"an")})), u"banana");
    EXPECT_EQ(joined(callWith(u"Filter", {fruit, S(u"an"), B(false)})), u"apple|cherry");
    EXPECT_EQ(joined(callWith(u"Filter", {fruit, S(u"AN"), B(true), I(1)})), u"banana");
    EXPECT_EQ(callWith(u"Filter", {fruit, S(u"x")}).asArray()->items.size(), 0u);
}

TEST(StringFunctions, EscapeAndUnescape) {
    runRows({
        {u"Escape", {S(u"a b+c/あ")}, S(u"a%20b+c/%u3042")},
        {u"Unescape", {S(u"a%20b%u3042%zz")}, S(u"a bあ%zz")},
        {u"Escape", {Value::null()}, Value::null()},
    });
}
