#include "RefCounted.h"

#include <vector>

namespace vbscript {

namespace {
// Objects whose last reference went while another one was being destroyed: destroying them
// right away would nest one C++ frame per link of a chain.
thread_local std::vector<RefCounted*> t_pending;
thread_local bool t_destroying = false;
} // namespace

void RefCounted::destroy(RefCounted* object) noexcept {
    if (t_destroying) {
        t_pending.push_back(object);
        return;
    }
    t_destroying = true;
    RefCounted* next = object;
    for (;;) {
        next->lastReleased();
        // lastReleased may have handed out new references (a terminator storing Me).
        if (next->m_refs == 0)
            delete next;
        if (t_pending.empty())
            break;
        next = t_pending.back();
        t_pending.pop_back();
    }
    t_destroying = false;
}

} // namespace vbscript
