// The module's registration, its lifetime and the frame's checks on the files it loads.
#include "ModuleFixture.h"
#include "frame/ModuleLoader.h"
#include "host/Guids.h"
#include "platform/com/RegistryStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace orvx;

namespace {

using test::Entry;
using test::Module;
using GetClassObject = std::int32_t (*)(const com::Guid&, const com::Guid&, void**);

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every key of the store ("[path]") and every value ("path|name=value"), paths as written.
std::set<std::string> contents(const com::RegistryStore& store, const std::string& path = {})
{
    std::set<std::string> all;
    if (!path.empty()) {
        all.insert("[" + path + "]");
        for (const std::string& name : store.valueNames(path))
            all.insert(path + "|" + name + "=" + store.value(path, name).value_or("(none)"));
    }
    for (const std::string& child : store.subkeys(path))
        all.merge(contents(store, path.empty() ? child : path + "\\" + child));
    return all;
}

struct Value {
    std::string key, name, value;
};

struct Control {
    com::Guid clsid, iid;
    std::string progId, description, interfaceName, bitmap;
};

// The values one control's class adds.
std::vector<Value> controlValues(const Control& c, const std::string& modulePath, const std::string& appId,
                                 const std::string& libId)
{
    const std::string clsid = c.clsid.toString();
    const std::string key = "CLSID\\" + clsid;
    const std::string versioned = c.progId + ".1";
    const std::string iface = "Interface\\" + c.iid.toString();
    return {
        {c.progId, "", c.description},
        {c.progId + "\\CLSID", "", clsid},
        {c.progId + "\\CurVer", "", versioned},
        {versioned, "", c.description},
        {versioned + "\\CLSID", "", clsid},
        {key, "", c.description},
        {key, "AppID", appId},
        {key + "\\ProgID", "", versioned},
        {key + "\\VersionIndependentProgID", "", c.progId},
        {key + "\\InprocServer32", "", modulePath},
        {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {key + "\\ToolboxBitmap32", "", modulePath + "," + c.bitmap},
        {key + "\\MiscStatus", "", "0"},
        {key + "\\MiscStatus\\1", "", "131473"},
        {key + "\\TypeLib", "", libId},
        {key + "\\Version", "", "1.0"},
        {iface, "", c.interfaceName},
        {iface + "\\TypeLib", "", libId},
        {iface + "\\TypeLib", "Version", "1.0"},
    };
}

// What registration adds: each value with every key above it, and the keys that carry no value.
std::set<std::string> registration(const std::string& modulePath)
{
    const std::string appId = host::APPID_OrvxTarnelGUI.toString();
    const std::string libId = host::LIBID_OrvxTarnelGUILib.toString();
    std::vector<Value> values{
        {"AppID\\" + appId, "", "OrvxTarnelGUI"},
        {"AppID\\OrvxTarnelGUI.DLL", "AppID", appId},
        {"TypeLib\\" + libId + "\\1.0", "", "OrvxTarnelGUI 1.0 Type Library"},
        {"TypeLib\\" + libId + "\\1.0\\0\\linux", "", modulePath},
    };
    std::vector<std::string> bareKeys;
    const Control controls[] = {
        {host::CLSID_OrvxESDDTMGUIView, host::IID_IOrvxESDDTMGUIView, "OrvxTarnelGUI.OrvxESDDTMGUIView",
         "OrvxESDDTMGUIView Class", "IOrvxESDDTMGUIView Interface", "102"},
        {host::CLSID_Offline, host::IID_IOffline, "OrvxTarnelGUI.Offline", "Offline Class", "IOffline Interface",
         "117"},
        {host::CLSID_Trend, host::IID_ITrend, "OrvxTarnelGUI.Trend", "Trend Class", "ITrend Interface", "111"},
        {host::CLSID_TAdress, host::IID_ITAdress, "OrvxTarnelGUI.TAdress", "TAdress Class", "ITAdress Interface",
         "114"},
    };
    for (const Control& c : controls) {
        const std::vector<Value> added = controlValues(c, modulePath, appId, libId);
        values.insert(values.end(), added.begin(), added.end());
        const std::string key = "CLSID\\" + c.clsid.toString();
        bareKeys.push_back(key + "\\Programmable");
        bareKeys.push_back(key + "\\Control");
    }
    std::set<std::string> all;
    auto addKey = [&](const std::string& key) {
        for (std::size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1))
            all.insert("[" + key.substr(0, end) + "]");
        all.insert("[" + key + "]");
    };
    for (const Value& v : values) {
        addKey(v.key);
        all.insert(v.key + "|" + v.name + "=" + v.value);
    }
    for (const std::string& key : bareKeys)
        addKey(key);
    return all;
}

TEST_F(Module, RegistersExactlyItsEntriesAndUnregistersThemAll)
{
    // Stores a frame may have before the module registers: the shared roots stay, empty or not.
    const std::vector<std::pair<std::string, std::string>> otherComponent{
        {"CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32", "/other/component.so"},
        {"Interface\\{00000000-0000-0000-0000-000000000002}", "IOther"},
        {"TypeLib\\{00000000-0000-0000-0000-000000000003}\\1.0", "Other 1.0 Type Library"},
    };
    const struct {
        const char* label;
        std::vector<std::string> emptyKeys;
        bool withOtherComponent;
    } stores[] = {
        {"empty shared roots", {"CLSID", "AppID"}, false},
        {"another component and an empty AppID root", {"AppID"}, true},
        {"another component, no AppID root", {}, true},
    };
    for (const auto& start : stores) {
        SCOPED_TRACE(start.label);
        std::set<std::string> before;
        {
            std::filesystem::remove(registry);
            com::RegistryStore store(registry);
            for (const std::string& key : start.emptyKeys)
                store.createKey(key);
            if (start.withOtherComponent)
                for (const auto& [key, value] : otherComponent)
                    store.setValue(key, "", value);
            ASSERT_TRUE(store.save());
            before = contents(store);
        }
        const std::string file = fileText(registry);

        ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
        com::RegistryStore store(registry);
        ASSERT_TRUE(store.load());
        const std::set<std::string> registered = contents(store);
        std::set<std::string> added;
        std::ranges::set_difference(registered, before, std::inserter(added, added.end()));
        std::set<std::string> missing, extra;
        const std::set<std::string> expected = registration(ORVX_MODULE_FILE);
        std::ranges::set_difference(expected, registered, std::inserter(missing, missing.end()));
        std::ranges::set_difference(added, expected, std::inserter(extra, extra.end()));
        for (const std::string& line : missing)
            ADD_FAILURE() << "not registered: " << line;
        for (const std::string& line : extra)
            ADD_FAILURE() << "registered beyond the module's entries: " << line;
        EXPECT_TRUE(std::ranges::includes(registered, before)) << "registration changed another entry";

        ASSERT_EQ(entry<Entry>("DllUnregisterServer")(), 0);
        ASSERT_TRUE(store.load());
        std::set<std::string> after = before;
        after.insert({"[AppID]", "[CLSID]"});
        EXPECT_EQ(contents(store), after) << "all of the module's entries go, the shared roots stay";
        if (after == before) {
            EXPECT_EQ(fileText(registry), file) << "a store that held the shared roots is as it was, byte for byte";
        }
    }
}

TEST_F(Module, StaysLoadedWhileAnObjectOrALockIsAlive)
{
    const auto canUnload = entry<Entry>("DllCanUnloadNow");
    EXPECT_EQ(canUnload(), 0);
    void* raw = nullptr;
    ASSERT_EQ(entry<GetClassObject>("DllGetClassObject")(host::CLSID_TAdress, com::IClassFactory::iid, &raw), 0);
    auto factory = com::ComPtr<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    EXPECT_EQ(canUnload(), 1) << "a class factory is alive";
    factory->LockServer(true);
    factory.reset();
    EXPECT_EQ(canUnload(), 1) << "locked";
    raw = nullptr;
    entry<GetClassObject>("DllGetClassObject")(host::CLSID_TAdress, com::IClassFactory::iid, &raw);
    factory = com::ComPtr<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(canUnload(), 0);
    EXPECT_NE(entry<GetClassObject>("DllGetClassObject")(device::IID_IUpdateUI, com::IClassFactory::iid, &raw), 0)
        << "an unknown class is not available";
}

// The frame registers the module it ships with: an installed program must not load the module
// of a build that registered itself in the same registry, nor fail on one since removed.
TEST_F(Module, TheFrameRegistersItsOwnModuleOverAnotherOne)
{
    const std::string key = "CLSID\\" + host::CLSID_OrvxESDDTMGUIView.toString() + "\\InprocServer32";
    const QString module = QFileInfo(QStringLiteral(ORVX_MODULE_FILE)).canonicalFilePath();
    const QString otherBuild = folder.filePath(QStringLiteral("other-build/libOrvxTarnelGUI.so"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(otherBuild).path()));
    QFile(otherBuild).open(QIODevice::WriteOnly);
    const struct {
        const char* label;
        QString registered;
        QString afterwards;
    } cases[] = {
        {"not registered", QString(), module},
        {"another build's module", otherBuild, module},
        {"a module since removed", folder.filePath(QStringLiteral("gone/libOrvxTarnelGUI.so")), module},
        // The same file by another name is left as it is.
        {"this module, named otherwise", QFileInfo(module).path() + QStringLiteral("/./libOrvxTarnelGUI.so"),
         QFileInfo(module).path() + QStringLiteral("/./libOrvxTarnelGUI.so")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(registry);
        if (!c.registered.isEmpty()) {
            com::RegistryStore store(registry);
            store.setValue(key, "", c.registered.toStdString());
            ASSERT_TRUE(store.save());
        }
        frame::ModuleLoader loader;
        EXPECT_EQ(loader.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, module), QString());
        EXPECT_EQ(frame::ModuleLoader::RegisteredModule(host::CLSID_OrvxESDDTMGUIView), c.afterwards);
    }
}

// Whoever can change the registry or the module can run code as the user and move the valve:
// like ssh with its keys, the frame refuses such files and says which and why.
TEST_F(Module, TheFrameRefusesARegistryOrModuleOtherUsersCanChange)
{
    const QString module = QFileInfo(QStringLiteral(ORVX_MODULE_FILE)).canonicalFilePath();
    frame::ModuleLoader loader;
    ASSERT_EQ(loader.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, module), QString());
    const QString registryFile = QString::fromStdString(registry);
    const QString shared = folder.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    const QString copy = shared + QStringLiteral("/libOrvxTarnelGUI.so");
    ASSERT_TRUE(QFile::copy(module, copy));
    const auto mode = [](const QString& file, QFile::Permissions permissions) {
        ASSERT_TRUE(QFile::setPermissions(file, permissions));
    };
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions folderOwner = owner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    // A refused copy of the module is never loaded; an accepted case loads the module itself.
    const struct {
        const char* label;
        QString file;
        QFile::Permissions permissions;
        QString module;
        QString refused;  // what the message must name; empty: accepted
    } cases[] = {
        {"registry writable by its group", registryFile, owner | QFile::WriteGroup, module, registryFile},
        {"registry writable by anyone", registryFile, owner | QFile::WriteOther, module, registryFile},
        {"registry the owner's alone", registryFile, owner, module, {}},
        {"module writable by anyone", copy, owner | QFile::WriteOther, copy, copy},
        {"module in a folder anyone may write", shared, folderOwner | QFile::WriteOther, copy, copy},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        mode(c.file, c.permissions);
        frame::ModuleLoader fresh;
        QString error = fresh.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, c.module);
        if (error.isEmpty())
            fresh.Create(host::CLSID_OrvxESDDTMGUIView, &error);
        if (c.refused.isEmpty()) {
            EXPECT_EQ(error, QString());
        } else {
            EXPECT_TRUE(error.contains(c.refused)) << error.toStdString();
            EXPECT_TRUE(error.contains(QLatin1String("other users"))) << error.toStdString();
        }
        mode(c.file, c.file == shared ? folderOwner : owner);
    }
}

}  // namespace
