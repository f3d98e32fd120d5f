// Values, arrays, reference counting and host object dispatch.
#include "ScriptHarness.h"
#include "vbscript/Lexer.h"

#include <gtest/gtest.h>

namespace vbstest {
namespace {

TEST(ValueTest, VarTypeAndTypeNameOfEverySubtype) {
    const std::tuple<Value, int, const char*> rows[] = {
        {Value(), 0, "Empty"},
        {Value::null(), 1, "Null"},
        {Value::integer(1), 2, "Integer"},
        {Value::longValue(1), 3, "Long"},
        {Value::single(1), 4, "Single"},
        {Value::dbl(1), 5, "Double"},
        {Value::currency(1), 6, "Currency"},
        {Value::date(1), 7, "Date"},
        {Value::string(u"x"), 8, "String"},
        {Value::nothing(), 9, "Nothing"},
        {Value::error(5), 10, "Error"},
        {Value::boolean(true), 11, "Boolean"},
        {Value::byte(1), 17, "Byte"},
        {Value::array(ArrayData::fromValues({})), 8204, "Variant()"},
    };
    for (const auto& [v, code, name] : rows) {
        EXPECT_EQ(v.varTypeCode(), code) << name;
        EXPECT_EQ(toUtf8(typeName(v)), name);
        // Text, objects and arrays are the shared kinds; the quick tests never miss one.
        const bool shared = code == 8 || code == 9 || code == 8204;
        EXPECT_EQ(v.isShared(), shared) << name;
        EXPECT_TRUE(v.mayBeShared() || !shared) << name;
        EXPECT_EQ(Value::mayHoldShared(&v, 1), v.mayBeShared()) << name;
        const Value pair[] = {Value::integer(1), v};
        EXPECT_EQ(Value::mayHoldShared(pair, 2), v.mayBeShared()) << name;
    }
    EXPECT_TRUE(Value::missing().isMissing());
}

TEST(ValueTest, StringsAreSharedUntilWritten) {
    Value a = Value::string(u"text");
    Value b = a;
    EXPECT_EQ(&a.asString(), &b.asString());
    b.mutableString() += u"!";
    EXPECT_EQ(toUtf8(a.asString()), "text");
    EXPECT_EQ(toUtf8(b.asString()), "text!");
    Value empty = Value::string(u"");
    EXPECT_TRUE(empty.asString().empty());
    empty.mutableString() += u"x";
    EXPECT_EQ(toUtf8(empty.asString()), "x");
}

TEST(ValueTest, ArraysAreCopiedOnWriteAndDeepCopiedWhileBorrowed) {
    Value a = Value::array(ArrayData::fromValues({Value::integer(1), Value::integer(2)}));
    Value b = a;
    EXPECT_EQ(a.asArray(), b.asArray());
    b.mutableArray().items[0] = Value::integer(9);
    EXPECT_EQ(a.asArray()->items[0].asInteger(), 1);
    a.asArray()->locks = 1;
    Value c = a; // an element of `a` is lent by reference: the copy must not see writes
    EXPECT_NE(a.asArray(), c.asArray());
    a.asArray()->locks = 0;
}

TEST(ValueTest, ArrayIndexing) {
    ArrayData a({ArrayBound{0, 2}, ArrayBound{0, 3}});
    const int32_t first[] = {1, 2};
    a.at(first, 2) = Value::integer(5);
    EXPECT_EQ(a.items[1 + 2 * 2].asInteger(), 5); // the first index varies fastest
    const int32_t outside[] = {2, 0};
    EXPECT_THROW(a.at(outside, 2), ScriptError);
    EXPECT_THROW(a.at(first, 1), ScriptError);
    EXPECT_EQ(a.ubound(1), 2);
    EXPECT_THROW(ArrayData({ArrayBound{0, 1 << 20}, ArrayBound{0, 1 << 20}}), ScriptError);
}

class Counted final : public Object {
public:
    explicit Counted(int& alive) : m_alive(alive) { ++m_alive; }
    ~Counted() override { --m_alive; }
    std::u16string typeName() const override { return u"Counted"; }
    int findMember(std::u16string_view) const override { return kNoMember; }
    Value invoke(Context&, int, Invoke, Args, const Value*) override { return Value(); }
    Value next;

private:
    int& m_alive;
};

TEST(ValueTest, LongChainsAreReleasedIteratively) {
    int alive = 0;
    {
        Value head = Value::nothing();
        for (int i = 0; i < 300000; ++i) {
            auto node = makeRef<Counted>(alive);
            node->next = std::move(head);
            head = Value::object(node);
        }
        EXPECT_EQ(alive, 300000);
    }
    EXPECT_EQ(alive, 0);
}

class Member final : public HostObject<Member> {
public:
    std::u16string typeName() const override { return u"Member"; }
    std::span<const HostObject<Member>::Member> members() const override {
        static const HostObject<Member>::Member table[] = {
            {u"Item", 1, 2, &Member::item, &Member::setItem, true},
            {u"Target", 0, 0, &Member::target, &Member::setTarget, false, true},
            {u"ReadOnly", 0, 0, &Member::item0, nullptr},
        };
        return table;
    }
    Value item(Context&, Args a) { return Value::longValue(toLong(a[0]) * 10); }
    Value item0(Context&, Args) { return Value::integer(1); }
    void setItem(Context&, Args a, const Value& v) { last = toLong(a[0]) + toLong(v); }
    Value target(Context&, Args) { return stored; }
    void setTarget(Context&, Args, const Value& v) { stored = v; }
    int32_t last = 0;
    Value stored;
};

TEST(ValueTest, HostObjectsDispatchThroughTheirTable) {
    Engine e;
    e.setLanguage(u"VBScript");
    auto m = makeRef<Member>();
    ASSERT_TRUE(e.addObject(u"M", m));
    EXPECT_EQ(evalText(e, "M(3)"), "30:Long");
    EXPECT_EQ(evalText(e, "m.item(4)"), "40:Long");
    EXPECT_TRUE(e.executeStatement(u"M(2) = 5"));
    EXPECT_EQ(m->last, 7);
    EXPECT_EQ(evalText(e, "M.Item()"), "error 450");
    EXPECT_EQ(evalText(e, "M.Item(, 2)"), "error 449");
    EXPECT_EQ(evalText(e, "M.Item(1, 2, 3)"), "error 450");
    EXPECT_FALSE(e.executeStatement(u"M.ReadOnly = 1"));
    EXPECT_EQ(e.lastError().number, 438);
    EXPECT_TRUE(e.executeStatement(u"Set M.Target = M"));
    EXPECT_TRUE(m->stored.isObject());
    m->stored = Value(); // break the cycle
}

TEST(LexerTest, TokensOfTrickyText) {
    const auto kinds = [](const char* text) {
        std::string out;
        for (const Token& t : tokenize(fromUtf8(text))) {
            switch (t.type) {
            case Tok::Name:
                out += "N";
                break;
            case Tok::Literal:
                out += "L";
                break;
            case Tok::Dot:
                out += ".";
                break;
            case Tok::WithDot:
                out += "w";
                break;
            case Tok::Amp:
                out += "&";
                break;
            case Tok::Newline:
                out += "/";
                break;
            case Tok::Colon:
                out += ":";
                break;
            case Tok::End:
                break;
            default:
                out += "o";
            }
        }
        return out;
    };
    EXPECT_EQ(kinds("\"1\"&1"), "L&L");
    EXPECT_EQ(kinds("&HFF& + x"), "LoN");
    EXPECT_EQ(kinds("a.b .c"), "N.NwN");
    EXPECT_EQ(kinds("x = .5"), "NoL");
    EXPECT_EQ(kinds("[my name] = 1"), "NoL");
    EXPECT_EQ(kinds("a = 1 + _\n  2 ' note\nRem all\nb"), "NoLoL//N");
    EXPECT_EQ(kinds("f(1).g"), "NoLo.N");
    EXPECT_EQ(kinds("x = #2026/12/07#:y"), "NoL:N");
    EXPECT_EQ(tokenize(u"x = &H7FFF")[2].value.asInteger(), 32767);
    for (const char* bad : {"1e", "#1/2", "#not a date#", "x = \"open", "12abc", "&HFFFFFFFFF"})
        EXPECT_THROW(tokenize(fromUtf8(bad)), ScriptError) << bad;
}

} // namespace
} // namespace vbstest
