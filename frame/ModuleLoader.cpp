#include "ModuleLoader.h"

#include "FileSafety.h"
#include "platform/com/RegistryStore.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace orvx::frame {

namespace {

using GetClassObject = std::int32_t (*)(const com::Guid&, const com::Guid&, void**);
using RegisterServer = std::int32_t (*)();

// A registry other users can change could name any code to load.
QString unsafeRegistry()
{
    return unsafeFileReason(QString::fromStdString(com::RegistryStore::defaultLocation().string()));
}

bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

}  // namespace

ModuleLoader::~ModuleLoader()
{
    // The module stays loaded: Qt keeps pointers into it (its widgets' virtual tables and
    // resources) until the application ends.
}

QString ModuleLoader::RegisteredModule(const com::Guid& clsid)
{
    com::RegistryStore store(com::RegistryStore::defaultLocation());
    if (!store.load())
        return {};
    const auto path = store.value("CLSID\\" + clsid.toString() + "\\InprocServer32");
    return path ? QString::fromStdString(*path) : QString();
}

void* ModuleLoader::open(const QString& file, QString* error)
{
    if (m_handle && m_openFile == file)
        return m_handle;
    if (const QString reason = unsafeFileReason(file); !reason.isEmpty()) {
        if (error)
            *error = reason;
        return nullptr;
    }
    void* handle = dlopen(file.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = QStringLiteral("cannot load %1: %2").arg(file, QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    m_handle = handle;
    m_openFile = file;
    return handle;
}

QString ModuleLoader::EnsureRegistered(const com::Guid& clsid, const QString& moduleFile)
{
    if (const QString reason = unsafeRegistry(); !reason.isEmpty())
        return reason;
    if (sameFile(RegisteredModule(clsid), moduleFile))
        return {};
    QString error;
    void* handle = open(moduleFile, &error);
    if (!handle)
        return error;
    auto registerServer = reinterpret_cast<RegisterServer>(dlsym(handle, "DllRegisterServer"));
    if (!registerServer)
        return QStringLiteral("%1 has no DllRegisterServer").arg(moduleFile);
    if (com::failed(static_cast<com::Status>(registerServer())))
        return QStringLiteral("%1 could not register itself").arg(moduleFile);
    const QString registered = RegisteredModule(clsid);
    if (registered.isEmpty())
        return QStringLiteral("registration wrote nothing");
    return sameFile(registered, moduleFile) ? QString() : QStringLiteral("the registry names %1").arg(registered);
}

com::ComPtr<com::IUnknown> ModuleLoader::Create(const com::Guid& clsid, QString* error)
{
    if (const QString reason = unsafeRegistry(); !reason.isEmpty()) {
        if (error)
            *error = reason;
        return {};
    }
    const QString file = RegisteredModule(clsid);
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("class %1 is not registered").arg(QString::fromStdString(clsid.toString()));
        return {};
    }
    void* handle = open(file, error);
    if (!handle)
        return {};
    auto getClassObject = reinterpret_cast<GetClassObject>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) {
        if (error)
            *error = QStringLiteral("%1 has no DllGetClassObject").arg(file);
        return {};
    }
    void* raw = nullptr;
    if (com::failed(static_cast<com::Status>(getClassObject(clsid, com::IClassFactory::iid, &raw))) || !raw) {
        if (error)
            *error = QStringLiteral("%1 makes no class %2").arg(file, QString::fromStdString(clsid.toString()));
        return {};
    }
    const auto factory = com::ComPtr<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    void* object = nullptr;
    const com::Status status = factory->CreateInstance(nullptr, com::IUnknown::iid, &object);
    if (com::failed(status) || !object) {
        if (error)
            *error = QStringLiteral("the class factory failed: %1").arg(QString::fromLatin1(com::statusName(status)));
        return {};
    }
    return com::ComPtr<com::IUnknown>::adopt(static_cast<com::IUnknown*>(object));
}

}  // namespace orvx::frame
