// The math functions. Abs, Fix, Int and Round keep the subtype of their argument as the
// language does (an Integer stays an Integer unless the result no longer fits); the others
// give Doubles. Rnd and Randomize are in RandomFunctions.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/builtins/LibraryArgs.h"
#include "vbscript/builtins/NumberText.h"

#include <cmath>
#include <limits>

namespace vbscript {
namespace {

double checked(double v) {
    if (!std::isfinite(v))
        raiseError(err::Overflow);
    return v;
}

// Applies `op` to a number and gives back the subtype the language keeps.
template <class Op> Value keepSubtype(const Value& arg, Op op) {
    const Value v = toNumeric(arg);
    switch (v.type()) {
    case VarType::Null:
        return v;
    case VarType::Integer:
    case VarType::Boolean: {
        const double r = op(toDouble(v));
        if (r >= -32768 && r <= 32767)
            return Value::integer(static_cast<int16_t>(r));
        return Value::longValue(static_cast<int32_t>(r));
    }
    case VarType::Byte: {
        const double r = op(double(v.asByte()));
        if (r >= 0 && r <= 255)
            return Value::byte(static_cast<uint8_t>(r));
        return Value::integer(static_cast<int16_t>(r));
    }
    case VarType::Long: {
        const double r = op(double(v.asLong()));
        if (r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())
            return Value::longValue(static_cast<int32_t>(r));
        return Value::dbl(r);
    }
    case VarType::Single:
        return Value::single(static_cast<float>(checked(op(double(v.asSingle())))));
    case VarType::Currency: {
        const double r = op(double(v.asCurrency()) / 10000.0);
        if (std::fabs(r) > 922337203685477.0)
            raiseError(err::Overflow);
        return Value::currency(static_cast<int64_t>(std::llround(r * 10000.0)));
    }
    case VarType::Date: {
        const double r = op(v.asDate());
        return Value::date(r);
    }
    default:
        return Value::dbl(checked(op(toDouble(v))));
    }
}

Value absFn(Context&, Args args) {
    return keepSubtype(args[0], [](double x) { return std::fabs(x); });
}
Value fixFn(Context&, Args args) {
    return keepSubtype(args[0], [](double x) { return std::trunc(x); });
}
Value intFn(Context&, Args args) {
    return keepSubtype(args[0], [](double x) { return std::floor(x); });
}

Value round(Context&, Args args) {
    const int32_t digits = lib::longArg(args, 1, 0);
    if (digits < 0 || digits > 22)
        raiseError(err::InvalidCall);
    if (args[0].isNull())
        return Value::null();
    if (dereference(args[0]).isString())
        return Value::dbl(lib::roundHalfEvenAt(toDouble(args[0]), digits));
    return keepSubtype(args[0], [digits](double x) { return lib::roundHalfEvenAt(x, digits); });
}

Value sgn(Context&, Args args) {
    const double x = toDouble(args[0]);
    return Value::integer(static_cast<int16_t>(x > 0 ? 1 : (x < 0 ? -1 : 0)));
}

Value atn(Context&, Args args) {
    return Value::dbl(std::atan(toDouble(args[0])));
}
Value cosFn(Context&, Args args) {
    return Value::dbl(std::cos(toDouble(args[0])));
}
Value sinFn(Context&, Args args) {
    return Value::dbl(std::sin(toDouble(args[0])));
}
Value tanFn(Context&, Args args) {
    return Value::dbl(checked(std::tan(toDouble(args[0]))));
}
Value expFn(Context&, Args args) {
    return Value::dbl(checked(std::exp(toDouble(args[0]))));
}

Value logFn(Context&, Args args) {
    const double x = toDouble(args[0]);
    if (!(x > 0))
        raiseError(err::InvalidCall);
    return Value::dbl(std::log(x));
}

Value sqr(Context&, Args args) {
    const double x = toDouble(args[0]);
    if (x < 0)
        raiseError(err::InvalidCall);
    return Value::dbl(std::sqrt(x));
}

// Hex and Oct: Integer-sized values print in 16 bits, everything else is rounded to a Long.
Value radix(Args args, bool hex) {
    const Value v = dereference(args[0]);
    if (v.isNull())
        return Value::null();
    int64_t n;
    int bits = 32;
    if (v.type() == VarType::Integer || v.type() == VarType::Boolean || v.type() == VarType::Byte) {
        n = toInteger(v);
        bits = 16;
    } else {
        n = toLong(v);
    }
    return Value::string(hex ? lib::hexText(n, bits) : lib::octText(n, bits));
}
Value hexFn(Context&, Args args) {
    return radix(args, true);
}
Value octFn(Context&, Args args) {
    return radix(args, false);
}

const BuiltinFunction kFunctions[] = {
    {u"Abs", 1, 1, &absFn},   {u"Atn", 1, 1, &atn},   {u"Cos", 1, 1, &cosFn},
    {u"Exp", 1, 1, &expFn},   {u"Fix", 1, 1, &fixFn}, {u"Hex", 1, 1, &hexFn},
    {u"Int", 1, 1, &intFn},   {u"Log", 1, 1, &logFn}, {u"Oct", 1, 1, &octFn},
    {u"Round", 1, 2, &round}, {u"Sgn", 1, 1, &sgn},   {u"Sin", 1, 1, &sinFn},
    {u"Sqr", 1, 1, &sqr},     {u"Tan", 1, 1, &tanFn},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(MathFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
