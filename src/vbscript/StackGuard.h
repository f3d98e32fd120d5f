#pragma once

// Keeps recursion of the parser and the interpreter inside the thread's stack: past the limit
// they raise error 28 instead of overflowing.

namespace vbscript {

namespace detail {
// Constant-initialised, so a test of it is a plain thread-local load with no set-up call.
extern thread_local constinit const char* t_stackLimit;
[[noreturn]] void raiseOutOfStack();
// The lowest usable address of the calling thread's stack (nullptr when it cannot be told).
const char* threadStackBottom();
// The same from the C library, which reads /proc/self/maps for the main thread.
const char* stackBottomFromThreadAttributes();
} // namespace detail

// Sets the limit for the current thread if none is set; the previous state is restored by the
// destructor. Engine entry points hold one.
class StackScope {
public:
    StackScope();
    ~StackScope();
    StackScope(const StackScope&) = delete;
    StackScope& operator=(const StackScope&) = delete;

private:
    const char* m_previous;
};

inline void checkStack() {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    if (here < detail::t_stackLimit) [[unlikely]]
        detail::raiseOutOfStack();
}

} // namespace vbscript
