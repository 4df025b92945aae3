// The real module, loaded as a frame loads it: through the registry and its entry points.
#include "frame/HostedControl.h"
#include "frame/ModuleLoader.h"
#include "host/Guids.h"
#include "platform/com/ComObject.h"
#include "platform/com/RegistryStore.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <fstream>
#include <sstream>

using namespace orvx;

namespace {

using Entry = std::int32_t (*)();
using GetClassObject = std::int32_t (*)(const com::Guid&, const com::Guid&, void**);

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Module : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry = folder.filePath("registry.reg").toStdString();
        previous = qgetenv("ORVX_REGISTRY_FILE");
        qputenv("ORVX_REGISTRY_FILE", QByteArray::fromStdString(registry));
        handle = dlopen(ORVX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
    }
    void TearDown() override { qputenv("ORVX_REGISTRY_FILE", previous); }

    template <class F>
    F entry(const char* name)
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }

    QTemporaryDir folder;
    std::string registry;
    QByteArray previous;
    void* handle = nullptr;
};

TEST_F(Module, RegisteringAndUnregisteringLeaveTheStoreAsItWas)
{
    {
        com::RegistryStore store(registry);
        store.setValue("CLSID\\{00000000-0000-0000-0000-000000000001}\\InprocServer32", "", "/other/component.so");
        ASSERT_TRUE(store.save());
    }
    const std::string before = fileText(registry);
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);

    com::RegistryStore store(registry);
    ASSERT_TRUE(store.load());
    const std::string clsid = "CLSID\\" + host::CLSID_Trend.toString();
    EXPECT_EQ(store.value(clsid + "\\InprocServer32"), std::string(ORVX_MODULE_FILE));
    EXPECT_EQ(store.value(clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(store.value(clsid + "\\MiscStatus\\1"), "131473");
    EXPECT_EQ(store.value(clsid + "\\ProgID"), "OrvxTarnelGUI.Trend.1");
    EXPECT_EQ(store.value("OrvxTarnelGUI.TAdress\\CurVer"), "OrvxTarnelGUI.TAdress.1");
    EXPECT_EQ(store.value("AppID\\" + host::APPID_OrvxTarnelGUI.toString()), "OrvxTarnelGUI");

    ASSERT_EQ(entry<Entry>("DllUnregisterServer")(), 0);
    EXPECT_EQ(fileText(registry), before);
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
    EXPECT_NE(entry<GetClassObject>("DllGetClassObject")(host::IID_IUpdateUI, com::IClassFactory::iid, &raw), 0)
        << "an unknown class is not available";
}

TEST_F(Module, TheMainViewShowsTheDeviceAndChangesItsMode)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    device->SetPrivateDialogs(false);  // no box may wait for a user in a test
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        auto text = [&](int item) {
            auto* label = window->findChild<QLabel*>(QStringLiteral("item_%1").arg(item));
            return label ? label->text() : QStringLiteral("(none)");
        };
        com::Variant tag;
        device->GetParameter(com::BStr(u"1001"), &tag);
        EXPECT_EQ(text(203).toStdString(), tag.toText().toUtf8()) << "page 0 shows the device's tag";
        EXPECT_EQ(text(205), QStringLiteral("Normal"));

        auto* modeToSet = window->findChild<QComboBox*>(QStringLiteral("item_201"));
        auto* applyMode = window->findChild<QPushButton*>(QStringLiteral("item_202"));
        ASSERT_TRUE(modeToSet && applyMode);
        modeToSet->setCurrentIndex(1);
        emit modeToSet->activated(1);
        applyMode->click();
        EXPECT_FALSE(applyMode->isEnabled()) << "the change is on its way";
        scheduler.Advance(1000);
        EXPECT_EQ(text(205), QStringLiteral("Manual"));
        EXPECT_TRUE(applyMode->isEnabled());
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace
