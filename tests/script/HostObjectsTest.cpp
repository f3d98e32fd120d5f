#include "HostObjectCall.h"
#include "QStringPrinter.h"

#include "script/ClipboardObject.h"
#include "script/VBLike.h"
#include "script/ValueBridge.h"
#include "script/vba/OleDate.h"

#include <gtest/gtest.h>

using vbscript::Value;

namespace {

QString text(const Value& v) {
    return script::toQString(v);
}

Value str(const char16_t* s) {
    return Value::string(s);
}

TEST(VBLikeObject, FormatTakesEveryKindOfValue) {
    auto vba = vbscript::makeRef<script::VBLike>();
    const Value date = Value::date(script::dateToOleDate(2025, 4, 1));
    EXPECT_EQ(text(callMember(*vba, u"Format", {date, str(u"ggge年m月d日(aaa)")})),
              QStringLiteral("令和7年4月1日(火)"));
    EXPECT_EQ(text(callMember(*vba, u"format", {Value::longValue(1234567), str(u"#,##0")})),
              QStringLiteral("1,234,567"));
    EXPECT_EQ(text(callMember(*vba, u"FORMAT", {Value::currency(12345000), str(u"0.00")})),
              QStringLiteral("1234.50"));
    EXPECT_EQ(text(callMember(*vba, u"Format", {Value::boolean(true)})), QStringLiteral("True"));
    EXPECT_EQ(text(callMember(*vba, u"Format", {Value::dbl(0.5)})), QStringLiteral("0.5"));
    EXPECT_EQ(text(callMember(*vba, u"Format", {Value::single(0.1f)})), QStringLiteral("0.1"));
    EXPECT_EQ(text(callMember(*vba, u"Format", {Value::single(2.675f), str(u"0.00")})),
              QStringLiteral("2.68"));
    EXPECT_EQ(
        text(callMember(*vba, u"Format", {date, str(u"ww"), Value::integer(2), Value::integer(3)})),
        QStringLiteral("13"));
    EXPECT_TRUE(callMember(*vba, u"Format", {Value::null()}).isNull());
    EXPECT_TRUE(callMember(*vba, u"Format", {str(u"abc"), Value::missing()}).isString());
}

TEST(VBLikeObject, StrConvConvertsAndRaises) {
    auto vba = vbscript::makeRef<script::VBLike>();
    EXPECT_EQ(text(callMember(*vba, u"StrConv", {str(u"ｶﾞｲﾄﾞ"), Value::integer(4)})),
              QStringLiteral("ガイド"));
    EXPECT_EQ(text(callMember(*vba, u"StrConv", {str(u"ヴ"), Value::integer(8)})),
              QStringLiteral("ｳﾞ"));
    EXPECT_EQ(text(callMember(*vba, u"StrConv",
                              {str(u"hello world"), Value::integer(3), Value::longValue(1041)})),
              QStringLiteral("Hello World"));
    EXPECT_TRUE(callMember(*vba, u"StrConv", {Value::null(), Value::integer(1)}).isNull());
}

TEST(VBLikeObject, BadArgumentsRaiseTheLanguageErrors) {
    auto vba = vbscript::makeRef<script::VBLike>();
    const struct {
        std::u16string_view member;
        std::vector<Value> args;
        int error;
    } rows[] = {
        {u"StrConv", {str(u"x"), Value::integer(12)}, 5},
        {u"StrConv", {str(u"x"), str(u"wide")}, 13},
        {u"StrConv", {str(u"x")}, 450},
        {u"Format", {Value::dbl(1), str(u"ww"), Value::integer(9)}, 5},
        {u"Format", {Value::dbl(1e7), str(u"yyyy")}, 6},
        {u"Format", {}, 450},
        {u"Missing", {}, 438},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(errorOfCall(*vba, row.member, row.args), row.error)
            << QString::fromStdU16String(std::u16string(row.member)).toStdString();
    }
}

TEST(ClipboardObject, TextGoesInAndOut) {
    script::MemoryClipboard clipboard;
    auto object = vbscript::makeRef<script::ClipboardObject>(clipboard);
    EXPECT_FALSE(callMember(*object, u"GetFormat", {Value::integer(1)}).asBool());
    callMember(*object, u"SetText", {str(u"こんにちは")});
    EXPECT_EQ(clipboard.text(), QStringLiteral("こんにちは"));
    EXPECT_EQ(text(callMember(*object, u"GetText")), QStringLiteral("こんにちは"));
    EXPECT_EQ(text(callMember(*object, u"GetText", {Value::integer(1)})),
              QStringLiteral("こんにちは"));
    EXPECT_TRUE(callMember(*object, u"GetFormat", {Value::integer(1)}).asBool());
    EXPECT_FALSE(callMember(*object, u"GetFormat", {Value::integer(2)}).asBool());
    EXPECT_EQ(text(callMember(*object, u"GetText", {Value::longValue(0xBF01)})), QString());
    callMember(*object, u"SetText", {Value::dbl(1.5), Value::integer(1)});
    EXPECT_EQ(clipboard.text(), QStringLiteral("1.5"));
    callMember(*object, u"Clear");
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(text(callMember(*object, u"GetText")), QString());
}

TEST(ClipboardObject, RefusesFormatsOtherThanText) {
    script::MemoryClipboard clipboard;
    clipboard.setText(QStringLiteral("kept"));
    auto object = vbscript::makeRef<script::ClipboardObject>(clipboard);
    EXPECT_EQ(errorOfCall(*object, u"SetText", {str(u"x"), Value::integer(2)}), 5);
    EXPECT_EQ(errorOfCall(*object, u"SetText", {Value::null()}), 94);
    EXPECT_EQ(clipboard.text(), QStringLiteral("kept"));
}

} // namespace
