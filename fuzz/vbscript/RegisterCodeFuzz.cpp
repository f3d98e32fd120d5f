// Runs arbitrary text twice, compiled to register code and on the tree alone, and aborts when
// the two differ: in the error each run ends with, or in the value of any name the text uses.
#include "vbscript/Conversions.h"
#include "vbscript/Engine.h"
#include "vbscript/RegisterCode.h"
#include "vbscript/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

std::string describe(const vbscript::Engine& engine) {
    const vbscript::ErrorInfo& e = engine.lastError();
    // How deep a run gets before its stack is spent, and so the statement that meets the
    // limit, depends on each way's frame sizes; that it ends with 28 does not.
    if (e.number == 28)
        return "28\n";
    return std::to_string(e.number) + "@" + std::to_string(e.line) + ":" +
           std::to_string(e.column) + " " + vbscript::toUtf8(e.description) + "\n";
}

std::string shown(const std::optional<vbscript::Value>& v) {
    if (!v)
        return "(failed)";
    std::string out = vbscript::toUtf8(vbscript::typeName(*v));
    if (!v->isObject() && !v->isArray()) {
        try {
            out += "=" + vbscript::toUtf8(vbscript::toString(*v));
        } catch (...) {
            out += "=?";
        }
    }
    return out;
}

// Everything a run leaves to be seen, as text.
std::string transcript(std::u16string_view text, bool compiled) {
    vbscript::setRegisterCodeEnabled(compiled);
    vbscript::Engine engine;
    engine.setLanguage(u"VBScript");
    int polls = 0;
    engine.setInterruptCheck([&polls] { return ++polls > 3; });
    std::string out;
    engine.addCode(text);
    out += describe(engine);
    std::set<std::u16string> names;
    for (size_t i = 0; i < text.size() && names.size() < 16;) {
        const char16_t c = text[i];
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            size_t j = i;
            while (j < text.size() &&
                   ((text[j] >= u'a' && text[j] <= u'z') || (text[j] >= u'A' && text[j] <= u'Z') ||
                    (text[j] >= u'0' && text[j] <= u'9') || text[j] == u'_'))
                ++j;
            names.insert(std::u16string(text.substr(i, j - i)));
            i = j;
        } else {
            ++i;
        }
    }
    for (const auto& name : names) {
        polls = 0;
        engine.clearError();
        out += vbscript::toUtf8(name) + " " + shown(engine.eval(name)) + " " + describe(engine);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Clocks and random numbers differ between any two runs.
    std::string lower(bytes);
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const char* word : {"rnd", "randomize", "timer", "now", "time", "date"})
        if (lower.find(word) != std::string::npos)
            return 0;
    const std::u16string text = vbscript::fromUtf8(bytes);
    const std::string tree = transcript(text, false);
    const std::string compiled = transcript(text, true);
    if (tree != compiled) {
        std::fprintf(stderr, "--- tree\n%s--- register code\n%s", tree.c_str(), compiled.c_str());
        std::abort();
    }
    return 0;
}
