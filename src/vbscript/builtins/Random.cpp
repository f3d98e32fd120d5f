#include "vbscript/builtins/Random.h"

#include <cstring>

namespace vbscript::lib {

namespace {

constexpr std::uint32_t kMask = 0xFFFFFF;

std::uint32_t step(std::uint32_t state) {
    return (state * 0x43FD43FDu + 0xC39EC3u) & kMask;
}

} // namespace

float RandomGenerator::next(float number) {
    if (number == 0)
        return m_last;
    if (number < 0) {
        std::uint32_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        m_state = (bits + (bits >> 24)) & kMask;
    }
    m_state = step(m_state);
    m_last = static_cast<float>(m_state) / 16777216.0f;
    return m_last;
}

void RandomGenerator::randomize(double number) {
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    auto high = static_cast<std::uint32_t>(bits >> 32);
    high = ((high & 0xFFFF) ^ (high >> 16)) << 8;
    m_state = (m_state & 0xFF) | (high & 0xFFFF00);
}

RandomGenerator& scriptRandom() {
    static RandomGenerator generator;
    return generator;
}

} // namespace vbscript::lib
