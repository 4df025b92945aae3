// The module's exported entry points: the only symbols a frame sees. No exception leaves them.
#include "Module.h"
#include "platform/com/RegistryStore.h"
#include "platform/ui/ModuleFile.h"

namespace {

using orvx::com::Guid;
using orvx::com::Status;
using orvx::host::COrvxTarnelGUIModule;

// Opens the store, applies a change and writes it back; any failure is answered as a status.
template <class Change>
Status changeRegistry(Change change)
{
    try {
        orvx::com::RegistryStore store(orvx::com::RegistryStore::defaultLocation());
        if (!store.load())
            return Status::Failure;
        change(store);
        return store.save() ? Status::Ok : Status::Failure;
    } catch (const std::exception&) {
        return Status::Failure;
    }
}

}  // namespace

extern "C" {

std::int32_t DllGetClassObject(const Guid& clsid, const Guid& iid, void** object)
{
    try {
        return static_cast<std::int32_t>(COrvxTarnelGUIModule::Instance().GetClassObject(clsid, iid, object));
    } catch (const std::exception&) {
        return static_cast<std::int32_t>(Status::Failure);
    }
}

std::int32_t DllRegisterServer()
{
    const std::string path = orvx::ui::moduleFilePath().toStdString();
    return static_cast<std::int32_t>(changeRegistry(
        [&](orvx::com::RegistryStore& store) { COrvxTarnelGUIModule::Instance().Register(store, path); }));
}

std::int32_t DllUnregisterServer()
{
    return static_cast<std::int32_t>(
        changeRegistry([](orvx::com::RegistryStore& store) { COrvxTarnelGUIModule::Instance().Unregister(store); }));
}

std::int32_t DllCanUnloadNow()
{
    return static_cast<std::int32_t>(COrvxTarnelGUIModule::Instance().CanUnload() ? Status::Ok : Status::False);
}

}  // extern "C"
