// The operators on Values directly: promotion, overflow and the Null tables.
#include "ScriptHarness.h"
#include "vbscript/Operators.h"

#include <gtest/gtest.h>

#include <functional>

namespace vbstest {
namespace {

std::string show(const Value& v) {
    if (v.isNull())
        return "Null:Null";
    return toUtf8(toString(v)) + ":" + toUtf8(typeName(v));
}

std::string showResult(const std::function<Value()>& op) {
    try {
        return show(op());
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
}

const Value T = Value::boolean(true);
const Value F = Value::boolean(false);
const Value N = Value::null();

TEST(OperatorTest, NullTruthTables) {
    struct Row {
        Value a, b;
        const char *andR, *orR, *xorR, *eqvR, *impR;
    };
    const Row rows[] = {
        {T, N, "Null:Null", "True:Boolean", "Null:Null", "Null:Null", "Null:Null"},
        {F, N, "False:Boolean", "Null:Null", "Null:Null", "Null:Null", "True:Boolean"},
        {N, T, "Null:Null", "True:Boolean", "Null:Null", "Null:Null", "True:Boolean"},
        {N, F, "False:Boolean", "Null:Null", "Null:Null", "Null:Null", "Null:Null"},
        {N, N, "Null:Null", "Null:Null", "Null:Null", "Null:Null", "Null:Null"},
        {T, F, "False:Boolean", "True:Boolean", "True:Boolean", "False:Boolean", "False:Boolean"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(show(ops::logicalAnd(r.a, r.b)), r.andR);
        EXPECT_EQ(show(ops::logicalOr(r.a, r.b)), r.orR);
        EXPECT_EQ(show(ops::logicalXor(r.a, r.b)), r.xorR);
        EXPECT_EQ(show(ops::logicalEqv(r.a, r.b)), r.eqvR);
        EXPECT_EQ(show(ops::logicalImp(r.a, r.b)), r.impR);
    }
}

TEST(OperatorTest, ArithmeticPromotion) {
    const Value i = Value::integer(32767), l = Value::longValue(2147483647);
    const Value b = Value::byte(255), s = Value::single(1.5f), d = Value::dbl(0.5);
    const Value c = Value::currency(15000), dt = Value::date(46363.0);
    const std::pair<std::function<Value()>, const char*> rows[] = {
        {[&] { return ops::add(i, Value::integer(1)); }, "32768:Long"},
        {[&] { return ops::add(l, Value::integer(1)); }, "2147483648:Double"},
        {[&] { return ops::subtract(Value::longValue(INT32_MIN), Value::integer(1)); },
         "-2147483649:Double"},
        {[&] { return ops::add(b, Value::byte(1)); }, "256:Integer"},
        {[&] { return ops::add(b, Value::byte(0)); }, "255:Byte"},
        {[&] { return ops::multiply(i, i); }, "1073676289:Long"},
        {[&] { return ops::multiply(l, l); }, "4.61168601413242E+18:Double"},
        {[&] { return ops::add(s, Value::integer(1)); }, "2.5:Single"},
        {[&] { return ops::add(s, Value::longValue(1)); }, "2.5:Double"},
        {[&] { return ops::add(s, d); }, "2:Double"},
        {[&] { return ops::add(c, d); }, "2:Currency"},
        {[&] { return ops::multiply(c, c); }, "2.25:Currency"},
        {[&] { return ops::add(dt, Value::integer(1)); }, "2026/12/08:Date"},
        {[&] { return ops::subtract(dt, dt); }, "0:Double"},
        {[&] { return ops::add(Value::string(u"2"), Value::integer(3)); }, "5:Double"},
        {[&] { return ops::add(Value::string(u"2"), Value::string(u"3")); }, "23:String"},
        {[&] { return ops::add(T, T); }, "-2:Integer"},
        {[&] { return ops::negate(Value::integer(-32768)); }, "32768:Long"},
        {[&] { return ops::negate(Value::longValue(INT32_MIN)); }, "2147483648:Double"},
        {[&] { return ops::negate(T); }, "1:Integer"},
        {[&] { return ops::negate(Value()); }, "0:Integer"},
        {[&] { return ops::divide(s, Value::integer(2)); }, "0.75:Single"},
        {[&] { return ops::divide(Value::integer(1), Value::integer(4)); }, "0.25:Double"},
        {[&] { return ops::intDivide(b, Value::byte(2)); }, "127:Byte"},
        {[&] { return ops::intDivide(Value::dbl(1e10), Value::integer(2)); }, "error 6"},
        {[&] { return ops::modulo(Value::dbl(-7.5), Value::integer(2)); }, "0:Long"},
        {[&] { return ops::power(Value::integer(-8), Value::dbl(1.0 / 3)); }, "error 5"},
        {[&] { return ops::power(Value::integer(0), Value::integer(-1)); }, "error 5"},
        {[&] { return ops::power(Value::integer(2), Value::integer(0)); }, "1:Double"},
        {[&] { return ops::multiply(Value::dbl(1e200), Value::dbl(1e200)); }, "error 6"},
        {[&] { return ops::add(Value::array(ArrayData::fromValues({})), i); }, "error 13"},
        {[&] { return ops::add(Value::string(u"x"), i); }, "error 13"},
    };
    for (const auto& [op, expected] : rows)
        EXPECT_EQ(showResult(op), expected);
}

TEST(OperatorTest, ComparisonRules) {
    const std::pair<std::function<Value()>, const char*> rows[] = {
        // A number is less than any text; Empty is "" against text and 0 against numbers.
        {[] { return ops::compare(Value::integer(5), Value::string(u"1"), ops::Compare::Lt); },
         "True:Boolean"},
        {[] { return ops::compare(Value(), Value::string(u""), ops::Compare::Eq); },
         "True:Boolean"},
        {[] { return ops::compare(Value(), Value::string(u"a"), ops::Compare::Lt); },
         "True:Boolean"},
        {[] { return ops::compare(Value(), Value::integer(0), ops::Compare::Eq); }, "True:Boolean"},
        {[] { return ops::compare(Value(), Value::integer(-1), ops::Compare::Gt); },
         "True:Boolean"},
        {[] { return ops::compare(Value::longValue(3), Value::dbl(3.0), ops::Compare::Eq); },
         "True:Boolean"},
        {[] { return ops::compare(Value::single(0.5f), Value::dbl(0.5), ops::Compare::Eq); },
         "True:Boolean"},
        {[] { return ops::compare(Value::currency(10000), Value::integer(1), ops::Compare::Eq); },
         "True:Boolean"},
        {[] {
             return ops::compare(Value::string(u"abc"), Value::string(u"abd"), ops::Compare::Ge);
         },
         "False:Boolean"},
        {[] { return ops::compare(Value::null(), Value::integer(1), ops::Compare::Ne); },
         "Null:Null"},
        {[] { return ops::compare(Value::array({}), Value::integer(1), ops::Compare::Eq); },
         "error 13"},
    };
    for (const auto& [op, expected] : rows)
        EXPECT_EQ(showResult(op), expected);
}

TEST(OperatorTest, ConcatenationAndInPlaceAppend) {
    EXPECT_EQ(show(ops::concat(Value::integer(1), Value::boolean(true))), "1True:String");
    EXPECT_EQ(show(ops::concat(Value::null(), Value())), ":String");
    Value s = Value::string(u"ab");
    const Value shared = s;
    ops::concatInPlace(s, Value::integer(7));
    EXPECT_EQ(toUtf8(s.asString()), "ab7");
    EXPECT_EQ(toUtf8(shared.asString()), "ab"); // the other holder keeps its text
    ops::concatInPlace(s, s);
    EXPECT_EQ(toUtf8(s.asString()), "ab7ab7");
    Value n = Value::null();
    ops::concatInPlace(n, Value::string(u"x"));
    EXPECT_EQ(show(n), "x:String");
}

TEST(OperatorTest, Truth) {
    EXPECT_TRUE(ops::isTrue(Value::string(u"True")));
    EXPECT_TRUE(ops::isTrue(Value::dbl(0.1)));
    EXPECT_FALSE(ops::isTrue(Value::null()));
    EXPECT_FALSE(ops::isTrue(Value()));
    EXPECT_THROW(ops::isTrue(Value::string(u"maybe")), ScriptError);
}

} // namespace
} // namespace vbstest
