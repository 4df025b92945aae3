#include "Module.h"

#include "Guids.h"
#include "platform/com/ComObject.h"
#include "platform/com/RegistryStore.h"

namespace orvx::host {

namespace {

const std::string kModuleName = "OrvxTarnelGUI";
const std::string kTypeLibrary = "OrvxTarnelGUI 1.0 Type Library";
// Recompose on resize, cannot link inside, inside-out, activate when visible, set client site first.
const std::string kMiscStatus = "131473";

std::string clsidKey(const com::Guid& clsid)
{
    return "CLSID\\" + clsid.toString();
}

}  // namespace

COrvxTarnelGUIModule& COrvxTarnelGUIModule::Instance()
{
    static COrvxTarnelGUIModule module;
    return module;
}

const COrvxTarnelGUIModule::ClassInfo* COrvxTarnelGUIModule::FindClass(const com::Guid& clsid)
{
    for (const ClassInfo& info : Classes())
        if (info.clsid == clsid)
            return &info;
    return nullptr;
}

void COrvxTarnelGUIModule::Register(com::RegistryStore& store, const std::string& modulePath) const
{
    const std::string appId = APPID_OrvxTarnelGUI.toString();
    const std::string libId = LIBID_OrvxTarnelGUILib.toString();
    for (const ClassInfo& info : Classes()) {
        const std::string clsid = info.clsid.toString();
        const std::string progId = info.progId;
        const std::string versioned = progId + ".1";
        store.setValue(progId, "", info.description);
        store.setValue(progId + "\\CLSID", "", clsid);
        store.setValue(progId + "\\CurVer", "", versioned);
        store.setValue(versioned, "", info.description);
        store.setValue(versioned + "\\CLSID", "", clsid);

        const std::string key = clsidKey(info.clsid);
        store.setValue(key, "", info.description);
        store.setValue(key, "AppID", appId);
        store.setValue(key + "\\ProgID", "", versioned);
        store.setValue(key + "\\VersionIndependentProgID", "", progId);
        store.createKey(key + "\\Programmable");
        store.setValue(key + "\\InprocServer32", "", modulePath);
        store.setValue(key + "\\InprocServer32", "ThreadingModel", "Apartment");
        store.createKey(key + "\\Control");
        store.setValue(key + "\\ToolboxBitmap32", "", modulePath + "," + std::to_string(info.toolboxBitmap));
        store.setValue(key + "\\MiscStatus", "", "0");
        store.setValue(key + "\\MiscStatus\\1", "", kMiscStatus);
        store.setValue(key + "\\TypeLib", "", libId);
        store.setValue(key + "\\Version", "", "1.0");

        const std::string interfaceKey = "Interface\\" + info.dispatchIid.toString();
        store.setValue(interfaceKey, "", info.interfaceName);
        store.setValue(interfaceKey + "\\TypeLib", "", libId);
        store.setValue(interfaceKey + "\\TypeLib", "Version", "1.0");
    }
    store.setValue("AppID\\" + appId, "", kModuleName);
    store.setValue("AppID\\" + kModuleName + ".DLL", "AppID", appId);
    store.setValue("TypeLib\\" + libId + "\\1.0", "", kTypeLibrary);
    store.setValue("TypeLib\\" + libId + "\\1.0\\0\\linux", "", modulePath);
}

void COrvxTarnelGUIModule::Unregister(com::RegistryStore& store) const
{
    for (const ClassInfo& info : Classes()) {
        store.removeKey(info.progId);
        store.removeKey(std::string(info.progId) + ".1");
        store.removeKey(clsidKey(info.clsid));
        store.removeKey("Interface\\" + info.dispatchIid.toString());
    }
    store.removeKey("AppID\\" + APPID_OrvxTarnelGUI.toString());
    store.removeKey("AppID\\" + kModuleName + ".DLL");
    store.removeKey("TypeLib\\" + LIBID_OrvxTarnelGUILib.toString());
    // "CLSID" and "AppID" are shared roots a frame may rely on: they stay even when empty. The
    // interface and type library roots go once empty, so that registering and unregistering
    // leave a store holding only the shared roots as it was.
    for (const char* root : {"Interface", "TypeLib"})
        if (store.hasKey(root) && store.subkeys(root).empty() && store.valueNames(root).empty())
            store.removeKey(root);
}

}  // namespace orvx::host
