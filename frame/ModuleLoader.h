#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"

#include <QString>

namespace orvx::frame {

// Finds the user-interface module through the component registry, as an FDT frame does: the
// registry names the module file of a class, the module's class factory makes the object. As ssh
// does with its keys, it refuses a registry or a module file other users can change, and says
// which file and why.
class ModuleLoader {
public:
    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;

    // Registers the module file unless the registry names it for the class already; a
    // registration of another file (a build elsewhere, a file since removed) is replaced. Answers
    // an error text, or an empty text when the class is registered.
    QString EnsureRegistered(const com::Guid& clsid, const QString& moduleFile);
    // A new object of the class, or none with the reason in 'error'.
    com::ComPtr<com::IUnknown> Create(const com::Guid& clsid, QString* error);
    // The module file the registry names for a class, or an empty text.
    static QString RegisteredModule(const com::Guid& clsid);

private:
    void* open(const QString& file, QString* error);

    void* m_handle = nullptr;
    QString m_openFile;
};

}  // namespace orvx::frame
