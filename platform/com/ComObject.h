#pragma once

#include "ComPtr.h"

#include <atomic>
#include <type_traits>
#include <utility>

namespace orvx::com {

template <class... Types>
struct InterfaceList {
};

template <class Bases, class Answered>
class ComObjectOf;

// Implements IUnknown (and answers the dispatch slots with "not implemented") for a class
// derived from 'Bases' that answers the interfaces of 'Answered'. QueryInterface answers each
// of them, IUnknown as the first one, and IDispatch as the first one derived from it. The
// object is destroyed by the Release that brings its count to zero. A base may be an
// implementation class that already derives from some of the answered interfaces.
template <class... Bases, class First, class... Rest>
class ComObjectOf<InterfaceList<Bases...>, InterfaceList<First, Rest...>> : public Bases... {
public:
    Status QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return Status::InvalidPointer;
        *object = nullptr;
        if (iid == IUnknown::iid)
            *object = identity();
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
    Status Invoke(std::int32_t, const Guid&, std::uint32_t, std::uint16_t, Variant*, std::uint32_t, Variant*,
                  std::uint32_t*)
    {
        return Status::NotImplemented;
    }

    std::uint32_t referenceCount() const { return m_references; }
    // The object's identity: the IUnknown that QueryInterface answers.
    IUnknown* identity() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    ComObjectOf() = default;
    // Passes construction arguments on to a single implementation base.
    template <class Arg, class... Args>
    requires(sizeof...(Bases) == 1) explicit ComObjectOf(Arg&& arg, Args&&... args)
        : Bases(std::forward<Arg>(arg), std::forward<Args>(args)...)...
    {
    }
    virtual ~ComObjectOf() = default;

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

// The common case: an object that implements exactly the interfaces it answers.
template <class... Interfaces>
using ComObject = ComObjectOf<InterfaceList<Interfaces...>, InterfaceList<Interfaces...>>;

// Creates a component object and answers the first counted reference to it.
template <class T, class... Args>
ComPtr<T> makeComObject(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace orvx::com
