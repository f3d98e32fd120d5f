// Rnd and Randomize over the engine's generator state: the language's 24-bit linear
// congruential generator, so a seeded sequence repeats.
#include "vbscript/Builtins.h"
#include "vbscript/Conversions.h"
#include "vbscript/ScriptError.h"

#include <chrono>
#include <cstring>

namespace vbscript {
namespace {

constexpr uint32_t kMask = 0xFFFFFF;

float step(RandomState& r) {
    r.seed = (r.seed * 0x43FD43FDu + 0xC39EC3u) & kMask;
    r.last = static_cast<float>(r.seed) / 16777216.0f;
    return r.last;
}

Value rnd(Context& context, Args a) {
    RandomState& r = context.random();
    if (a.isMissing(0))
        return Value::single(step(r));
    const float n = toSingle(a[0]);
    if (n == 0.0f)
        return Value::single(r.last);
    if (n < 0.0f) {
        uint32_t bits;
        std::memcpy(&bits, &n, sizeof bits);
        r.seed = (bits + (bits >> 24)) & kMask;
    }
    return Value::single(step(r));
}

Value randomize(Context& context, Args a) {
    RandomState& r = context.random();
    double seed;
    if (a.isMissing(0)) {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        seed =
            static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(now).count() %
                                86400000000LL) /
            1e6;
    } else {
        seed = toDouble(a[0]);
    }
    uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    const uint32_t high = static_cast<uint32_t>(bits >> 32);
    const uint32_t mixed = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    r.seed = (r.seed & 0xFF0000FFu) | (mixed & 0x00FFFF00u);
    return Value();
}

const BuiltinFunction kFunctions[] = {
    {u"Rnd", 0, 1, &rnd},
    {u"Randomize", 0, 1, &randomize},
};

} // namespace
} // namespace vbscript

SCRIVLET_VBS_MODULE(RandomFunctions) {
    registry.addFunctions(vbscript::kFunctions);
}
