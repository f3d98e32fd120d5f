// RegExp.Replace over one megabyte of text, the way a script calls it: through the object,
// and through the engine from script code.

#include "vbscript/Builtins.h"
#include "vbscript/Context.h"
#include "vbscript/Conversions.h"
#include "vbscript/Engine.h"
#include "vbscript/ScriptError.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vbscript;

class BenchContext final : public Context {
public:
    Value call(const Value&, Args) override { raiseError(err::NoSuchMember); }
    Value createObject(std::u16string_view name) override {
        return Value::object(builtinRegistry().findClass(name)(*this));
    }
    RandomState& random() override { return m_random; }
    void checkInterrupt() override {}

private:
    RandomState m_random;
};

// About 1 MiB of UTF-16 text (2^20 characters): words, addresses, numbers and Japanese.
const std::u16string& megabyteText() {
    static const std::u16string text = [] {
        const std::u16string piece =
            u"mail taro@example.com or 090-1234-5678, 日本語の文も混ぜる; ";
        std::u16string t;
        while (t.size() < (1u << 20))
            t += piece;
        t.resize(1u << 20);
        return t;
    }();
    return text;
}

Value makeRegExp(BenchContext& context, std::u16string_view pattern) {
    Value re = context.createObject(u"VBScript.RegExp");
    Object* o = re.asObject();
    const Value p = Value::string(pattern);
    const Value on = Value::boolean(true);
    o->invoke(context, o->findMember(u"Pattern"), Invoke::Let, {}, &p);
    o->invoke(context, o->findMember(u"Global"), Invoke::Let, {}, &on);
    return re;
}

void replaceThroughObject(benchmark::State& state, std::u16string_view pattern,
                          std::u16string_view replacement) {
    BenchContext context;
    const Value re = makeRegExp(context, pattern);
    Object* o = re.asObject();
    const int replace = o->findMember(u"Replace");
    Value subject = Value::string(megabyteText());
    Value with = Value::string(replacement);
    Value* argv[] = {&subject, &with};
    size_t outLength = 0;
    for (auto _ : state) {
        const Value result = o->invoke(context, replace, Invoke::Get, Args(argv, 2), nullptr);
        outLength = result.asString().size();
        benchmark::DoNotOptimize(outLength);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(megabyteText().size() * 2));
    state.counters["out_chars"] = double(outLength);
}

void BM_ReplaceLiteral(benchmark::State& state) {
    replaceThroughObject(state, u"o", u"0");
}
void BM_ReplaceGroups(benchmark::State& state) {
    replaceThroughObject(state, u"(\\w+)@(\\w+)\\.com", u"$2 at $1");
}
void BM_ReplaceClassIgnoringMatch(benchmark::State& state) {
    replaceThroughObject(state, u"\\d{3}-\\d{4}-\\d{4}", u"[$&]");
}
void BM_ReplaceEveryWord(benchmark::State& state) {
    replaceThroughObject(state, u"\\b\\w", u"_");
}

// The same replacement written as a script: the engine's call overhead on top.
void BM_ReplaceFromScript(benchmark::State& state) {
    Engine engine;
    engine.setLanguage(u"VBScript");
    engine.addCode(u"Set re = New RegExp\nre.Pattern = \"(\\w+)@(\\w+)\\.com\"\n"
                   u"re.Global = True\n");
    engine.addCode(u"Function Run(t)\n Run = Len(re.Replace(t, \"$2 at $1\"))\nEnd Function\n");
    const Value text = Value::string(megabyteText());
    double outLength = 0;
    for (auto _ : state) {
        const auto result = engine.call(u"Run", std::span<const Value>(&text, 1));
        if (!result) {
            state.SkipWithError("script failed");
            break;
        }
        outLength = toDouble(*result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(megabyteText().size() * 2));
    state.counters["out_chars"] = outLength;
}

} // namespace

BENCHMARK(BM_ReplaceLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceGroups)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceClassIgnoringMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceEveryWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceFromScript)->Unit(benchmark::kMillisecond);
