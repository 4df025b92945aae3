#include "platform/com/RegistryStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>

using orvx::com::RegistryStore;

namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return m_dir.filePath("store/registry.reg").toStdString(); }
    QTemporaryDir m_dir;
};

TEST_F(RegistryStoreTest, SurvivesAReload)
{
    RegistryStore store(file());
    store.setValue("CLSID\\{ABC}", "", "Trend Class");
    store.setValue("CLSID\\{ABC}\\InprocServer32", "", "/opt/orvx/libOrvxTarnelGUI.so");
    store.setValue("CLSID\\{ABC}\\InprocServer32", "ThreadingModel", "Apartment");
    store.setValue("CLSID\\{ABC}", "Odd \"name\"\\", "line one\nline \"two\" \\ end");
    store.createKey("CLSID\\{ABC}\\Control");
    std::string error;
    ASSERT_TRUE(store.save(&error)) << error;

    RegistryStore reloaded(file());
    ASSERT_TRUE(reloaded.load(&error)) << error;
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}"), "Trend Class");
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}", "Odd \"name\"\\"), "line one\nline \"two\" \\ end");
    EXPECT_TRUE(reloaded.hasKey("CLSID\\{ABC}\\Control"));  // keys without values are kept too
    EXPECT_EQ(reloaded.subkeys("CLSID\\{ABC}"),
              (std::vector<std::string>{"Control", "InprocServer32"}));
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    RegistryStore store(file());
    store.setValue("CLSID\\{abc}\\InprocServer32", "ThreadingModel", "Apartment");
    EXPECT_EQ(store.value("clsid\\{ABC}\\inprocserver32", "threadingmodel"), "Apartment");
    store.setValue("CLSID\\{ABC}", "", "x");
    EXPECT_EQ(store.subkeys("CLSID"), std::vector<std::string>{"{abc}"});
}

TEST_F(RegistryStoreTest, RemovingAKeyRemovesEverythingBelowIt)
{
    RegistryStore store(file());
    store.setValue("CLSID\\{A}\\InprocServer32", "", "path");
    store.setValue("CLSID\\{A}\\MiscStatus\\1", "", "131473");
    store.setValue("CLSID\\{B}", "", "kept");
    EXPECT_TRUE(store.removeKey("CLSID\\{A}"));
    EXPECT_FALSE(store.hasKey("CLSID\\{A}\\MiscStatus\\1"));
    EXPECT_TRUE(store.hasKey("CLSID"));
    EXPECT_EQ(store.value("CLSID\\{B}"), "kept");
    EXPECT_FALSE(store.removeKey("CLSID\\{A}"));
    EXPECT_FALSE(store.removeValue("CLSID\\{B}", "missing"));
    EXPECT_TRUE(store.removeValue("CLSID\\{B}", ""));
    EXPECT_FALSE(store.value("CLSID\\{B}"));
}

TEST_F(RegistryStoreTest, AMissingFileIsAnEmptyStore)
{
    RegistryStore store(file());
    store.setValue("A", "", "stale");
    EXPECT_TRUE(store.load());
    EXPECT_FALSE(store.hasKey("A"));
}

TEST_F(RegistryStoreTest, AMalformedFileChangesNothingAndSaysWhere)
{
    RegistryStore good(file());
    good.setValue("Kept", "", "value");
    ASSERT_TRUE(good.save());
    {
        std::ofstream out(file(), std::ios::app);
        out << "[Broken]\n\"name\"=unquoted\n";
    }
    RegistryStore store(file());
    store.setValue("Before", "", "1");
    std::string error;
    EXPECT_FALSE(store.load(&error));
    EXPECT_NE(error.find(":6:"), std::string::npos) << error;
    EXPECT_EQ(store.value("Before"), "1");
    EXPECT_FALSE(store.hasKey("Kept"));
}

TEST_F(RegistryStoreTest, TheEnvironmentNamesTheDefaultFile)
{
    const char* before = std::getenv("ORVX_REGISTRY_FILE");
    const std::string saved = before ? before : "";
    setenv("ORVX_REGISTRY_FILE", "/tmp/orvx-test.reg", 1);
    EXPECT_EQ(RegistryStore::defaultLocation(), "/tmp/orvx-test.reg");
    unsetenv("ORVX_REGISTRY_FILE");
    setenv("XDG_CONFIG_HOME", "/tmp/config-home", 1);
    EXPECT_EQ(RegistryStore::defaultLocation(), "/tmp/config-home/orvx/registry.reg");
    if (before)
        setenv("ORVX_REGISTRY_FILE", saved.c_str(), 1);
}

}  // namespace
