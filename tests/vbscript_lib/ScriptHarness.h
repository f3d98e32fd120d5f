#pragma once

// Evaluates expressions and runs statements through the engine, as user scripts reach the
// library.

#include "vbscript/Conversions.h"
#include "vbscript/Engine.h"
#include "vbscript/Text.h"

#include <string>

namespace vbscript::testing {

// "text:TypeName" of an expression's value, or "error N".
inline std::string evalText(Engine& engine, std::string_view expression) {
    const auto v = engine.eval(fromUtf8(expression));
    if (!v)
        return "error " + std::to_string(engine.lastError().number);
    std::string text;
    if (v->isNull())
        text = "Null";
    else if (!v->isArray() && !v->isObject())
        text = toUtf8(toString(*v));
    return text + ":" + toUtf8(typeName(*v));
}

inline Engine& scriptEngine() {
    static Engine* engine = [] {
        auto* e = new Engine;
        e->setLanguage(u"VBScript");
        return e;
    }();
    return *engine;
}

} // namespace vbscript::testing
