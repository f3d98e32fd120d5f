#include "StackGuard.h"

#include "ScriptError.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <pthread.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vbscript {

namespace detail {

constinit thread_local const char* t_stackLimit = nullptr;

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

// The main thread's stack is the mapping the kernel set up at exec: it grows down from its top
// by at most RLIMIT_STACK, and the program's file name (AT_EXECFN) is the last thing stored at
// that top. The C library would find the same bound by reading /proc/self/maps, which costs
// about a millisecond at every start of the program.
const char* mainStackBottom(const char* here) {
    const auto* execName = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
    rlimit limit{};
    if (!execName || getrlimit(RLIMIT_STACK, &limit) != 0)
        return nullptr;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t nameEnd = reinterpret_cast<uintptr_t>(execName) + std::strlen(execName) + 1;
    const uintptr_t top = (nameEnd + page - 1) & ~(page - 1);
    // Without a limit the kernel leaves far more than we ever use below the stack.
    const uintptr_t size = limit.rlim_cur == RLIM_INFINITY
                               ? kMaxUse + kReserve
                               : static_cast<uintptr_t>(limit.rlim_cur) & ~(page - 1);
    const auto at = reinterpret_cast<uintptr_t>(here);
    if (size > top || at > top || at < top - size)
        return nullptr; // not the stack we think it is
    return reinterpret_cast<const char*>(top - size);
}

// Not cached for the main thread: a program may lower its limit between two runs.
const char* findStackBottom(const char* here) {
    if (getpid() == gettid()) {
        if (const char* bottom = mainStackBottom(here))
            return bottom;
        thread_local const char* const slowBottom = detail::stackBottomFromThreadAttributes();
        return slowBottom;
    }
    return detail::stackBottomFromThreadAttributes();
}

const char* computeLimit() {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    const char* bottom = findStackBottom(here);
    if (!bottom)
        bottom = here - (size_t{1} << 20);
    const size_t available = here > bottom ? static_cast<size_t>(here - bottom) : 0;
    const size_t reserve = std::min(kReserve, available / 2);
    const size_t use = std::min(available - reserve, kMaxUse);
    return here - use;
}

} // namespace

const char* detail::stackBottomFromThreadAttributes() {
    pthread_attr_t attr;
    void* low = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        pthread_attr_getstack(&attr, &low, &size);
        pthread_attr_destroy(&attr);
    }
    return (low && size != 0) ? static_cast<const char*>(low) : nullptr;
}

const char* detail::threadStackBottom() {
    return findStackBottom(static_cast<const char*>(__builtin_frame_address(0)));
}

StackScope::StackScope() : m_previous(detail::t_stackLimit) {
    if (!detail::t_stackLimit)
        detail::t_stackLimit = computeLimit();
}

StackScope::~StackScope() {
    detail::t_stackLimit = m_previous;
}

} // namespace vbscript
