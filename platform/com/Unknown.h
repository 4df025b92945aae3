#pragma once

#include "Guid.h"
#include "Status.h"

#include <cstdint>

namespace orvx::com {

class Variant;

// The identity interface every component answers. Slots 0 to 2. The destructor is protected
// and not virtual so that the operation table holds exactly the interface's slots; objects are
// destroyed by their last Release.
class IUnknown {
public:
    static constexpr Guid iid = Guid::literal("{00000000-0000-0000-C000-000000000046}");

    virtual Status QueryInterface(const Guid& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// Late-bound access, slots 3 to 6. Nothing in this system calls it by name; the slots keep the
// operation tables of the dispatch interfaces in their documented places.
class IDispatch : public IUnknown {
public:
    static constexpr Guid iid = Guid::literal("{00020400-0000-0000-C000-000000000046}");

    virtual Status GetTypeInfoCount(std::uint32_t* count) = 0;
    virtual Status GetTypeInfo(std::uint32_t index, std::uint32_t locale, void** typeInfo) = 0;
    virtual Status GetIDsOfNames(const Guid& reserved, const char16_t** names, std::uint32_t count,
                                 std::uint32_t locale, std::int32_t* dispIds) = 0;
    virtual Status Invoke(std::int32_t dispId, const Guid& reserved, std::uint32_t locale, std::uint16_t flags,
                          Variant* arguments, std::uint32_t argumentCount, Variant* result,
                          std::uint32_t* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

// Creates the objects of one class (slots 3 and 4 after IUnknown).
class IClassFactory : public IUnknown {
public:
    static constexpr Guid iid = Guid::literal("{00000001-0000-0000-C000-000000000046}");

    virtual Status CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    virtual Status LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

}  // namespace orvx::com
