#pragma once

// The language's pseudo-random generator: a 24-bit linear congruential generator whose state
// Randomize seeds, so that a seeded run repeats its numbers.

#include <cstdint>

namespace vbscript::lib {

class RandomGenerator {
public:
    // Rnd(number): below zero reseeds from the number and returns the first value of that
    // sequence; zero repeats the last value; above zero (or omitted) gives the next value.
    float next(float number = 1.0f);
    // Randomize number: mixes the number into the state without resetting it.
    void randomize(double number);

private:
    std::uint32_t m_state = 0x50000;
    float m_last = 0;
};

RandomGenerator& scriptRandom();

} // namespace vbscript::lib
