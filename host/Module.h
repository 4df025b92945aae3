#pragma once

#include "platform/com/Guid.h"
#include "platform/com/Status.h"

#include <atomic>
#include <string>
#include <vector>

namespace orvx::com {
class IUnknown;
class RegistryStore;
}  // namespace orvx::com

namespace orvx::host {

// The module: its four control classes, the objects and locks that keep it loaded, and the
// registration the frame finds it by.
class COrvxTarnelGUIModule {
public:
    struct ClassInfo {
        com::Guid clsid;
        com::Guid dispatchIid;
        const char* progId;         // version-independent
        const char* description;    // "Trend Class"
        const char* interfaceName;  // "ITrend Interface"
        int toolboxBitmap;
        com::IUnknown* (*create)();  // a new object with one reference, or none
    };

    static COrvxTarnelGUIModule& Instance();
    static const std::vector<ClassInfo>& Classes();
    static const ClassInfo* FindClass(const com::Guid& clsid);

    // Writes, or removes, exactly the module's entries; other components' entries stay.
    void Register(com::RegistryStore& store, const std::string& modulePath) const;
    void Unregister(com::RegistryStore& store) const;

    void ObjectCreated() { ++m_objects; }
    void ObjectDestroyed() { --m_objects; }
    void Lock(bool lock) { lock ? ++m_locks : --m_locks; }
    bool CanUnload() const { return m_objects == 0 && m_locks == 0; }
    int Objects() const { return m_objects; }

private:
    std::atomic<int> m_objects{0};
    std::atomic<int> m_locks{0};
};

// Counts an object of the module for as long as it lives.
class CModuleObject {
public:
    CModuleObject() { COrvxTarnelGUIModule::Instance().ObjectCreated(); }
    ~CModuleObject() { COrvxTarnelGUIModule::Instance().ObjectDestroyed(); }
    CModuleObject(const CModuleObject&) = delete;
    CModuleObject& operator=(const CModuleObject&) = delete;
};

}  // namespace orvx::host
