#pragma once

// Intrusive reference counting for everything a script value can share: strings, arrays and
// objects. Counting (not tracing) gives the language's deterministic Class_Terminate, and
// releases are queued so that dropping a long chain of objects never recurses on the C++ stack.

#include <cstdint>
#include <utility>

namespace vbscript {

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void addRef() noexcept { ++m_refs; }
    void release() noexcept {
        if (--m_refs == 0)
            destroy(this);
    }
    uint32_t refCount() const noexcept { return m_refs; }

protected:
    virtual ~RefCounted() = default;
    // Called once when the last reference goes, before deletion; script classes run
    // Class_Terminate here. Must not throw.
    virtual void lastReleased() noexcept {}
    // Undoes an addRef made inside lastReleased without starting another destruction.
    void dropRef() noexcept { --m_refs; }

private:
    static void destroy(RefCounted* object) noexcept;
    uint32_t m_refs = 0;
};

// Owning pointer to a RefCounted object.
template <class T> class Ref {
public:
    Ref() = default;
    Ref(std::nullptr_t) {}
    explicit Ref(T* p) : m_p(p) {
        if (m_p)
            m_p->addRef();
    }
    Ref(const Ref& o) : Ref(o.m_p) {}
    Ref(Ref&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    template <class U> Ref(const Ref<U>& o) : Ref(o.get()) {}
    ~Ref() {
        if (m_p)
            m_p->release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Gives up ownership without releasing.
    T* detach() { return std::exchange(m_p, nullptr); }

private:
    T* m_p = nullptr;
};

template <class T, class... A> Ref<T> makeRef(A&&... args) {
    return Ref<T>(new T(std::forward<A>(args)...));
}

} // namespace vbscript
