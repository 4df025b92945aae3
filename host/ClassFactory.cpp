#include "ClassFactory.h"

#include "Module.h"

namespace orvx::host {

com::Status CClassFactory::GetClassObject(const com::Guid& clsid, const com::Guid& iid, void** object)
{
    if (!object)
        return com::Status::InvalidPointer;
    *object = nullptr;
    const COrvxTarnelGUIModule::ClassInfo* info = COrvxTarnelGUIModule::FindClass(clsid);
    if (!info)
        return com::Status::ClassNotAvailable;
    auto factory = com::makeComObject<CClassFactory>(info->create);
    return factory->QueryInterface(iid, object);
}

CClassFactory::CClassFactory(com::IUnknown* (*create)()) : m_create(create)
{
    COrvxTarnelGUIModule::Instance().ObjectCreated();
}

CClassFactory::~CClassFactory()
{
    COrvxTarnelGUIModule::Instance().ObjectDestroyed();
}

com::Status CClassFactory::CreateInstance(com::IUnknown* outer, const com::Guid& iid, void** object)
{
    if (!object)
        return com::Status::InvalidPointer;
    *object = nullptr;
    if (outer)
        return com::Status::ClassNotAvailable;  // the controls cannot be aggregated
    try {
        com::IUnknown* created = m_create();
        if (!created)
            return com::Status::Failure;
        const com::Status status = created->QueryInterface(iid, object);
        created->Release();  // the caller's reference, if any, is the only one left
        return status;
    } catch (const std::exception&) {
        return com::Status::Failure;
    }
}

com::Status CClassFactory::LockServer(bool lock)
{
    COrvxTarnelGUIModule::Instance().Lock(lock);
    return com::Status::Ok;
}

}  // namespace orvx::host
