#pragma once

#include "ComPtr.h"

#include <atomic>
#include <type_traits>
#include <utility>

namespace orvx::com {

// Implements IUnknown (and answers the dispatch slots with "not implemented") for a class that
// implements the given interfaces. QueryInterface answers each listed interface, IUnknown as
// the first one, and IDispatch as the first listed interface derived from it. The object is
// destroyed by the Release that brings its count to zero.
template <class First, class... Rest>
class ComObject : public First, public Rest... {
public:
    Status QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return Status::InvalidPointer;
        *object = nullptr;
        if (iid == IUnknown::iid)
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
        else if (iid == IDispatch::iid)
            *object = firstDispatch<First, Rest...>();
        else
            ((iid == First::iid && (*object = static_cast<First*>(this))) || ... ||
             (iid == Rest::iid && (*object = static_cast<Rest*>(this))));
        if (!*object)
            return Status::NoInterface;
        AddRef();
        return Status::Ok;
    }
    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    Status GetTypeInfoCount(std::uint32_t* count)
    {
        if (count)
            *count = 0;
        return Status::Ok;
    }
    Status GetTypeInfo(std::uint32_t, std::uint32_t, void**) { return Status::NotImplemented; }
    Status GetIDsOfNames(const Guid&, const char16_t**, std::uint32_t, std::uint32_t, std::int32_t*)
    {
        return Status::NotImplemented;
    }
    Status Invoke(std::int32_t, const Guid&, std::uint32_t, std::uint16_t, Variant*, std::uint32_t,
                  Variant*, std::uint32_t*)
    {
        return Status::NotImplemented;
    }

    std::uint32_t referenceCount() const { return m_references; }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    template <class I, class... More>
    IDispatch* firstDispatch()
    {
        if constexpr (std::is_base_of_v<IDispatch, I>)
            return static_cast<IDispatch*>(static_cast<I*>(this));
        else if constexpr (sizeof...(More) > 0)
            return firstDispatch<More...>();
        else
            return nullptr;
    }

    std::atomic<std::uint32_t> m_references{0};
};

// Creates a component object and answers the first counted reference to it.
template <class T, class... Args>
ComPtr<T> makeComObject(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace orvx::com
