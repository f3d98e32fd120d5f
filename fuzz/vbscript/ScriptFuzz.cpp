// Feeds arbitrary text to the parser and the interpreter: as a program, then as an expression.
// Runs are stopped through the interrupt check so loops end.
#include "vbscript/Engine.h"
#include "vbscript/Text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    const std::u16string text =
        vbscript::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    vbscript::Engine engine;
    engine.setLanguage(u"VBScript");
    int polls = 0;
    engine.setInterruptCheck([&polls] { return ++polls > 3; });
    engine.addCode(text);
    polls = 0;
    engine.eval(text);
    polls = 0;
    engine.executeStatement(text);
    return 0;
}
