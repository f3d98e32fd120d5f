#include "script/vba/VbaStrConv.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace script;

namespace {

struct StrConvCase {
    const char* name;
    const char16_t* input;
    int conversion;
    const char16_t* expected;
};

void PrintTo(const StrConvCase& c, std::ostream* os) {
    *os << c.name;
}

class StrConvTable : public testing::TestWithParam<StrConvCase> {};

TEST_P(StrConvTable, Converts) {
    const StrConvCase& c = GetParam();
    const VbaResult r = vbaStrConv(QString::fromUtf16(c.input), c.conversion);
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.text, QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrConvTable,
    testing::Values(
        StrConvCase{"upper", u"abc DEF", vbUpperCase, u"ABC DEF"},
        StrConvCase{"lower", u"abc DEF", vbLowerCase, u"abc def"},
        StrConvCase{"proper lowers the rest", u"hELLO wORLD", vbProperCase, u"Hello World"},
        StrConvCase{"proper after tab and ideographic space", u"a\tb\u3000c-d", vbProperCase,
                    u"A\tB\u3000C-d"},
        StrConvCase{"full-width letters have case", u"ａｂｃ", vbUpperCase, u"ＡＢＣ"},
        StrConvCase{"roman numerals have case", u"Ⅰ", vbLowerCase, u"ⅰ"},
        StrConvCase{"no length change", u"ß", vbUpperCase, u"ß"},
        StrConvCase{"kana have no case", u"かなカナ", vbUpperCase, u"かなカナ"},
        StrConvCase{"wide ascii", u"ABC 123!~", vbWide, u"ＡＢＣ　１２３！～"},
        StrConvCase{"wide joins voiced marks", u"ｶﾞｷﾞﾊﾟ", vbWide, u"ガギパ"},
        StrConvCase{"wide joins vu", u"ｳﾞ", vbWide, u"ヴ"},
        StrConvCase{"mark without a voiced form", u"ｱﾞ", vbWide, u"ア゛"},
        StrConvCase{"wide punctuation", u"｡｢｣､･ｰ", vbWide, u"。「」、・ー"},
        StrConvCase{"backslash keeps its width", u"\\", vbWide, u"\\"},
        StrConvCase{"wide quotes", u"\"'`-", vbWide, u"”’‘－"},
        StrConvCase{"narrow splits voiced", u"ガ", vbNarrow, u"ｶﾞ"},
        StrConvCase{"narrow splits vu", u"ヴ", vbNarrow, u"ｳﾞ"},
        StrConvCase{"narrow semi-voiced", u"パピプペポ", vbNarrow, u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        StrConvCase{"narrow ascii", u"ＡＢＣ　１２３", vbNarrow, u"ABC 123"},
        StrConvCase{"narrow several quote forms", u"“”＂’＇", vbNarrow, u"\"\"\"''"},
        StrConvCase{"narrow leaves hiragana", u"ひらがな", vbNarrow, u"ひらがな"},
        StrConvCase{"narrow leaves small ka", u"ヵヶ", vbNarrow, u"ヵヶ"},
        StrConvCase{"narrow marks", u"ー゛゜", vbNarrow, u"ｰﾞﾟ"},
        StrConvCase{"katakana", u"ひらがな", vbKatakana, u"ヒラガナ"},
        StrConvCase{"katakana vu and small ka", u"ゔゕゖ", vbKatakana, u"ヴヵヶ"},
        StrConvCase{"katakana iteration marks", u"ゝゞ", vbKatakana, u"ヽヾ"},
        StrConvCase{"hiragana", u"カタカナ", vbHiragana, u"かたかな"},
        StrConvCase{"hiragana keeps vu and small ka", u"ヴヵヶ", vbHiragana, u"ヴヵヶ"},
        StrConvCase{"hiragana iteration marks", u"ヽヾ", vbHiragana, u"ゝゞ"},
        StrConvCase{"half-width needs wide for hiragana", u"ｶﾀｶﾅ", vbHiragana, u"ｶﾀｶﾅ"},
        StrConvCase{"hiragana and wide", u"ｶﾞｸﾀｲ", vbHiragana + vbWide, u"がくたい"},
        StrConvCase{"katakana and narrow", u"がくたい", vbKatakana + vbNarrow, u"ｶﾞｸﾀｲ"},
        StrConvCase{"upper and wide", u"abc", vbUpperCase + vbWide, u"ＡＢＣ"},
        StrConvCase{"round trip through narrow", u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ",
                    vbNarrow + vbWide - vbWide, u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ"},
        StrConvCase{"empty", u"", vbWide, u""}));

TEST(StrConv, NarrowThenWideGivesTheTextBack) {
    const QString text = QStringLiteral("ガギグゲゴパピプペポヴアイウエオ。「」ー　ＡＢＣ");
    const QString narrow = vbaStrConv(text, vbNarrow).text;
    EXPECT_EQ(vbaStrConv(narrow, vbWide).text, text);
}

TEST(StrConv, RejectsOppositeAndUnknownCodes) {
    for (const int code :
         {vbWide + vbNarrow, vbKatakana + vbHiragana, vbUnicode + vbFromUnicode, 256, -1, 4096}) {
        EXPECT_EQ(vbaStrConv(QStringLiteral("x"), code).error, 5) << code;
    }
}

TEST(StrConv, FromUnicodeGivesCodePageBytes) {
    const VbaResult ascii = vbaStrConv(QStringLiteral("ABCDEFG"), vbFromUnicode);
    EXPECT_EQ(unpackBytes(ascii.text), QByteArray("ABCDEFG"));
    const VbaResult kana = vbaStrConv(QStringLiteral("あい"), vbFromUnicode);
    EXPECT_EQ(unpackBytes(kana.text), QByteArray("\x82\xA0\x82\xA2"));
    EXPECT_EQ(kana.text.size() * 2, 4); // LenB
}

TEST(StrConv, UnicodeReadsTheBytesBack) {
    for (const QString& text : {QStringLiteral("漢字かなABC"), QStringLiteral("漢A"),
                                QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("")}) {
        const QString bytes = vbaStrConv(text, vbFromUnicode).text;
        EXPECT_EQ(vbaStrConv(bytes, vbUnicode).text, text);
    }
}

TEST(StrConv, FromUnicodeAfterWidening) {
    const QString bytes = vbaStrConv(QStringLiteral("A"), vbWide + vbFromUnicode).text;
    EXPECT_EQ(unpackBytes(bytes), QByteArray("\x82\x60"));
}

} // namespace
