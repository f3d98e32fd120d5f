#include "StackGuard.h"

#include "ScriptError.h"

#include <algorithm>
#include <cstddef>
#include <pthread.h>

namespace vbscript {

namespace detail {

thread_local const char* t_stackLimit = nullptr;

void raiseOutOfStack() {
    raiseError(err::OutOfStack);
}

} // namespace detail

namespace {

// Room left unused below the limit: error handling, destructors, sanitizers and the host's
// own frames above us need it.
constexpr size_t kReserve = size_t{1} << 20;
// The most one run may use, whatever the thread's size.
constexpr size_t kMaxUse = size_t{64} << 20;

struct ThreadStack {
    const char* bottom = nullptr;
};

// The thread's stack bottom, asked for once per thread: for the main thread the C library finds it
// by reading /proc/self/maps, far too slow for every evaluation.
const char* threadStackBottom(const char* here) {
    thread_local ThreadStack stack;
    if (!stack.bottom) {
        pthread_attr_t attr;
        void* low = nullptr;
        size_t size = 0;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            pthread_attr_getstack(&attr, &low, &size);
            pthread_attr_destroy(&attr);
        }
        stack.bottom =
            (low && size != 0) ? static_cast<const char*>(low) : here - (size_t{1} << 20);
    }
    return stack.bottom;
}

const char* computeLimit() {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    const char* bottom = threadStackBottom(here);
    const size_t available = here > bottom ? static_cast<size_t>(here - bottom) : 0;
    const size_t reserve = std::min(kReserve, available / 2);
    const size_t use = std::min(available - reserve, kMaxUse);
    return here - use;
}

} // namespace

StackScope::StackScope() : m_previous(detail::t_stackLimit) {
    if (!detail::t_stackLimit)
        detail::t_stackLimit = computeLimit();
}

StackScope::~StackScope() {
    detail::t_stackLimit = m_previous;
}

} // namespace vbscript
