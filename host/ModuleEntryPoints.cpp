// The module's exported entry points: the only symbols a frame sees. Each does all its work
// inside one guard, so that nothing thrown (a std::exception or anything else) reaches the frame.
#include "ClassFactory.h"
#include "Module.h"
#ifdef ORVX_PLANT_STORE
#include "PlantStoreRecords.h"
#endif
#include "platform/com/RegistryStore.h"
#include "platform/ui/ModuleFile.h"

namespace {

using orvx::com::Guid;
using orvx::com::Status;
using orvx::host::CClassFactory;
using orvx::host::COrvxTarnelGUIModule;

// Runs an entry point's work and answers its status; whatever the work throws is a failure.
template <class Work>
std::int32_t guarded(Work work) noexcept
{
    try {
        return static_cast<std::int32_t>(work());
    } catch (...) {
        return static_cast<std::int32_t>(Status::Failure);
    }
}

// Opens the store, applies a change and writes it back; the store is left as it was unless all
// of it succeeded.
template <class Change>
Status changeRegistry(Change change)
{
    orvx::com::RegistryStore store(orvx::com::RegistryStore::defaultLocation());
    if (!store.load())
        return Status::Failure;
    change(store);
    return store.save() ? Status::Ok : Status::Failure;
}

}  // namespace

extern "C" {

std::int32_t DllGetClassObject(const Guid& clsid, const Guid& iid, void** object)
{
    const std::int32_t status = guarded([&] {
#ifdef ORVX_PLANT_STORE
        // The controls' diagnostics windows read the plant's kept tests.
        orvx::host::CPlantStoreRecords::Install();
#endif
        return CClassFactory::GetClassObject(clsid, iid, object);
    });
    if (status != static_cast<std::int32_t>(Status::Ok) && object)
        *object = nullptr;
    return status;
}

std::int32_t DllRegisterServer()
{
    return guarded([] {
        const std::string path = orvx::ui::moduleFilePath().toStdString();
        return changeRegistry(
            [&](orvx::com::RegistryStore& store) { COrvxTarnelGUIModule::Instance().Register(store, path); });
    });
}

std::int32_t DllUnregisterServer()
{
    return guarded([] {
        return changeRegistry(
            [](orvx::com::RegistryStore& store) { COrvxTarnelGUIModule::Instance().Unregister(store); });
    });
}

std::int32_t DllCanUnloadNow()
{
    return guarded([] { return COrvxTarnelGUIModule::Instance().CanUnload() ? Status::Ok : Status::False; });
}

}  // extern "C"
