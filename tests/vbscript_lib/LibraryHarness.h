#pragma once

// Calls the library's builtins and objects the way the engine does, with a small context, so
// that their rules can be tested row by row.

#include "vbscript/Builtins.h"
#include "vbscript/Context.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Text.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <vector>

namespace vbscript::testing {

class TestContext final : public Context {
public:
    Value call(const Value&, Args) override { raiseError(err::NoSuchMember); }
    Value createObject(std::u16string_view className) override {
        const ClassFactory factory = builtinRegistry().findClass(className);
        if (!factory)
            raiseError(err::CannotCreateObject);
        return Value::object(factory(*this));
    }
    RandomState& random() override { return m_random; }
    void checkInterrupt() override {}

private:
    RandomState m_random;
};

inline TestContext& context() {
    static TestContext instance;
    return instance;
}

// Arguments as the engine passes them: pointers to values the callee may write through.
class ArgList {
public:
    ArgList(std::initializer_list<Value> values) : m_values(values) {
        for (Value& v : m_values)
            m_pointers.push_back(&v);
    }
    Args args() const { return Args(m_pointers.data(), m_pointers.size()); }

private:
    std::vector<Value> m_values;
    std::vector<Value*> m_pointers;
};

inline Value callBuiltin(std::u16string_view name, std::initializer_list<Value> values) {
    const BuiltinFunction* f = builtinRegistry().findFunction(name);
    if (!f)
        throw std::runtime_error("no such builtin");
    ArgList list(values);
    detail::checkArgCount(list.args(), f->minArgs, f->maxArgs);
    return f->fn(context(), list.args());
}

// The error number a call raises, or 0 when it succeeds.
template <class F> int errorOf(F&& f) {
    try {
        f();
    } catch (const ScriptError& e) {
        return e.number;
    }
    return 0;
}

inline Value newObject(std::u16string_view className) {
    return context().createObject(className);
}

inline Value get(const Value& object, std::u16string_view member,
                 std::initializer_list<Value> values = {}) {
    Object* o = object.asObject();
    const int id = member.empty() ? kDefaultMember : o->findMember(member);
    ArgList list(values);
    return o->invoke(context(), id, Invoke::Get, list.args(), nullptr);
}

inline void let(const Value& object, std::u16string_view member, const Value& assigned,
                std::initializer_list<Value> values = {}) {
    Object* o = object.asObject();
    const int id = member.empty() ? kDefaultMember : o->findMember(member);
    ArgList list(values);
    o->invoke(context(), id, Invoke::Let, list.args(), &assigned);
}

inline std::vector<Value> forEach(const Value& object) {
    std::vector<Value> out;
    auto enumerator = object.asObject()->enumerate(context());
    Value v;
    while (enumerator->next(v))
        out.push_back(v);
    return out;
}

inline Value S(std::u16string_view text) {
    return Value::string(text);
}
inline Value I(int16_t v) {
    return Value::integer(v);
}
inline Value L(int32_t v) {
    return Value::longValue(v);
}
inline Value D(double v) {
    return Value::dbl(v);
}
inline Value B(bool v) {
    return Value::boolean(v);
}

} // namespace vbscript::testing

namespace vbscript::testing {

// One call of a builtin and what it must give: a value of a subtype, or an error number.
struct Row {
    std::u16string_view function;
    std::vector<Value> args;
    Value expected;
    int error = 0;
};

inline Row fails(std::u16string_view function, std::vector<Value> args, int error) {
    return Row{function, std::move(args), Value(), error};
}

inline Value callWith(std::u16string_view name, std::vector<Value> values) {
    const BuiltinFunction* f = builtinRegistry().findFunction(name);
    if (!f)
        throw std::runtime_error("no such builtin");
    std::vector<Value*> pointers;
    for (Value& v : values)
        pointers.push_back(&v);
    const Args args(pointers.data(), pointers.size());
    detail::checkArgCount(args, f->minArgs, f->maxArgs);
    return f->fn(context(), args);
}

inline std::string describe(const Row& row) {
    std::string text(row.function.begin(), row.function.end());
    text += "(";
    for (size_t i = 0; i < row.args.size(); ++i) {
        if (i)
            text += ", ";
        if (row.args[i].isNull())
            text += "Null";
        else if (row.args[i].isMissing())
            text += "<missing>";
        else
            text += toUtf8(toString(row.args[i]));
    }
    return text + ")";
}

inline void runRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(describe(row));
        Value result;
        int error = 0;
        try {
            result = callWith(row.function, row.args);
        } catch (const ScriptError& e) {
            error = e.number;
        }
        if (row.error != 0) {
            EXPECT_EQ(error, row.error);
            continue;
        }
        ASSERT_EQ(error, 0);
        EXPECT_EQ(result.varTypeCode(), row.expected.varTypeCode());
        if (!row.expected.isNull() && !row.expected.isEmpty() && !result.isNull()) {
            EXPECT_EQ(toUtf8(toString(result)), toUtf8(toString(row.expected)));
        }
    }
}

} // namespace vbscript::testing
