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

const char* computeLimit() {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    pthread_attr_t attr;
    void* low = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        pthread_attr_getstack(&attr, &low, &size);
        pthread_attr_destroy(&attr);
    }
    if (!low || size == 0) {
        low = const_cast<char*>(here) - (size_t{1} << 20);
        size = size_t{1} << 20;
    }
    const char* bottom = static_cast<const char*>(low);
    const size_t available = static_cast<size_t>(here - bottom);
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
