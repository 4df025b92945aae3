#pragma once

#include "ComError.h"
#include "Unknown.h"

#include <utility>

namespace orvx::com {

// A counted reference to an interface: holds one AddRef for as long as it points at the object.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        // Take the new reference before dropping the old one: assigning a reference to itself,
        // or to an object only the old one keeps alive, must not destroy it.
        ComPtr copy(other);
        swap(copy);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr moved(std::move(other));
        swap(moved);
        return *this;
    }

    // Takes over a reference the caller already owns (an out-parameter filled by a call).
    static ComPtr adopt(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }

    void reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    void swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_p == b.m_p; }

private:
    T* m_p = nullptr;
};

// Asks an object for another of its interfaces. An object that does not support it answers
// an empty reference; any other failure of the query is raised as a ComError.
template <class U, class T>
ComPtr<U> queryInterface(T* object)
{
    if (!object)
        return {};
    void* raw = nullptr;
    const Status status = object->QueryInterface(U::iid, &raw);
    if (status == Status::NoInterface)
        return {};
    check(status, "interface query");
    return ComPtr<U>::adopt(static_cast<U*>(raw));
}

template <class U, class T>
ComPtr<U> queryInterface(const ComPtr<T>& object)
{
    return queryInterface<U>(object.get());
}

}  // namespace orvx::com
