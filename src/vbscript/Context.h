#pragma once

// What a builtin function or a library object may ask of the running engine.

#include "Object.h"
#include "Value.h"

#include <cstdint>
#include <string_view>

namespace vbscript {

// The generator behind Rnd and Randomize (the language's 24-bit linear congruential one).
struct RandomState {
    uint32_t seed = 0x50000;
    float last = 0x50000 / 16777216.0f; // Rnd(0) before any other Rnd: the initial seed
};

class Context {
public:
    virtual ~Context() = default;
    // Calls a value: an object's default member with the arguments (GetRef results included).
    virtual Value call(const Value& callee, Args args) = 0;
    // Creates an instance of a class by name: script classes first, then registered classes.
    // Raises 506 (class not defined) or 429 when there is none.
    virtual Value createObject(std::u16string_view className) = 0;
    // Shared state of Rnd and Randomize.
    virtual RandomState& random() = 0;
    // Raises error 18 when the host asked the run to stop. Long-running builtins call it.
    virtual void checkInterrupt() = 0;
};

// The context of the run on this thread, or nullptr outside a run. Conversions use it to read
// objects' default members.
Context* currentContext();

} // namespace vbscript
