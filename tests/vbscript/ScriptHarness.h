#pragma once

// Runs scripts through the engine the way a host does, with an "Out" object whose Echo
// collects lines.

#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/Engine.h"
#include "vbscript/Object.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Text.h"

#include <string>

namespace vbstest {

using namespace vbscript;

class OutputObject final : public HostObject<OutputObject> {
public:
    std::u16string typeName() const override { return u"Output"; }
    std::span<const Member> members() const override {
        static const Member table[] = {
            {u"Echo", 0, kVariadic, &OutputObject::echo, nullptr},
        };
        return table;
    }
    Value echo(Context&, Args args) {
        std::u16string line;
        for (size_t i = 0; i < args.size(); ++i) {
            if (i)
                line += u' ';
            line += args[i].isNull() ? std::u16string(u"Null") : toString(args[i]);
        }
        if (!text.empty())
            text += u'\n';
        text += line;
        return Value();
    }
    std::u16string text;
};

struct ScriptRun {
    bool ok = false;
    std::string output;
    int error = 0;
    int line = 0;
    int column = 0;
    std::string description;
};

inline ScriptRun runScript(const std::string& source) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    auto out = makeRef<OutputObject>();
    engine.addObject(u"Out", out);
    ScriptRun r;
    r.ok = engine.addCode(fromUtf8(source));
    r.output = toUtf8(out->text);
    r.error = engine.lastError().number;
    r.line = engine.lastError().line;
    r.column = engine.lastError().column;
    r.description = toUtf8(engine.lastError().description);
    return r;
}

// "text:TypeName" of an expression, or "error N".
inline std::string evalText(Engine& engine, const std::string& expression) {
    const auto v = engine.eval(fromUtf8(expression));
    if (!v)
        return "error " + std::to_string(engine.lastError().number);
    std::string text;
    if (v->isNull())
        text = "Null";
    else if (v->isArray() || v->isObject())
        text = "";
    else
        text = toUtf8(toString(*v));
    return text + ":" + toUtf8(typeName(*v));
}

} // namespace vbstest
