#pragma once

#include "platform/com/ComObject.h"

namespace orvx::host {

// Makes the objects of one control class, and holds the module loaded while locked.
class CClassFactory : public com::ComObject<com::IClassFactory> {
public:
    // The factory of the module's class 'clsid' as interface 'iid' in 'object'; ClassNotAvailable
    // (and none) for a class the module does not hold.
    static com::Status GetClassObject(const com::Guid& clsid, const com::Guid& iid, void** object);

    explicit CClassFactory(com::IUnknown* (*create)());
    ~CClassFactory() override;

    com::Status CreateInstance(com::IUnknown* outer, const com::Guid& iid, void** object) override;
    com::Status LockServer(bool lock) override;

private:
    com::IUnknown* (*m_create)();
};

}  // namespace orvx::host
