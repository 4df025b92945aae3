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
    store.setValue("CLSID\\{ABC}", "Odd \"name\"\\", "stale");
    store.setValue("CLSID\\{ABC}", "odd \"NAME\"\\", "line one\r\nline \"two\" \\ end");
    store.createKey("CLSID\\{ABC}\\Control");
    std::string error;
    ASSERT_TRUE(store.save(&error)) << error;

    RegistryStore reloaded(file());
    ASSERT_TRUE(reloaded.load(&error)) << error;
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}"), "Trend Class");
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(reloaded.value("CLSID\\{ABC}", "Odd \"name\"\\"), "line one\r\nline \"two\" \\ end");
    EXPECT_EQ(reloaded.valueNames("CLSID\\{ABC}"), (std::vector<std::string>{"", "Odd \"name\"\\"}));
    EXPECT_TRUE(reloaded.hasKey("CLSID\\{ABC}\\Control"));  // keys without values are kept too
    EXPECT_EQ(reloaded.subkeys("CLSID\\{ABC}"), (std::vector<std::string>{"Control", "InprocServer32"}));
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
    EXPECT_FALSE(store.removeKey("Missing\\{A}"));
    EXPECT_FALSE(store.removeKey("\\"));
    EXPECT_FALSE(store.removeValue("Missing", ""));
    EXPECT_FALSE(store.value("Missing"));
    EXPECT_TRUE(store.valueNames("Missing").empty());
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

TEST_F(RegistryStoreTest, ReadsAFileWithCrLfLineEnds)
{
    std::filesystem::create_directories(file().parent_path());
    {
        std::ofstream out(file(), std::ios::binary);
        out << "; edited elsewhere\r\n\r\n[CLSID\\{A}]\r\n@=\"Trend\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n"
               "\"Two\"=\"a\\r\\nb\"";  // the last line without an end
    }
    RegistryStore store(file());
    std::string error;
    ASSERT_TRUE(store.load(&error)) << error;
    EXPECT_EQ(store.subkeys("CLSID"), std::vector<std::string>{"{A}"});
    EXPECT_EQ(store.value("CLSID\\{A}"), "Trend");
    EXPECT_EQ(store.value("CLSID\\{A}", "ThreadingModel"), "Apartment");
    EXPECT_EQ(store.value("CLSID\\{A}", "Two"), "a\r\nb");
}

TEST_F(RegistryStoreTest, AMalformedFileChangesNothingAndSaysWhere)
{
    // Each text is read after "[Kept]" and a good value, so the fault is in line 3.
    for (const char* broken : {"[]", "[Open", "\"name\"=unquoted", "name=\"x\"", "\"name\" = \"x\"", "@=\"x\" ; note",
                               "@=\"tab\\t\"", "@=\"open", "@=\"x\\", "@"}) {
        std::filesystem::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << "[Kept]\n@=\"value\"\n" << broken << "\n";
        RegistryStore store(file());
        store.setValue("Before", "", "1");
        std::string error;
        EXPECT_FALSE(store.load(&error)) << broken;
        EXPECT_NE(error.find(":3:"), std::string::npos) << error;
        EXPECT_EQ(store.value("Before"), "1") << broken;
        EXPECT_FALSE(store.hasKey("Kept")) << broken;
    }
    std::ofstream(file(), std::ios::binary) << "@=\"x\"\n";
    std::string error;
    EXPECT_FALSE(RegistryStore(file()).load(&error));
    EXPECT_NE(error.find(":1: a value before the first key"), std::string::npos) << error;
}

TEST_F(RegistryStoreTest, AKeyLineNamingNoKeyOrTooManyIsRefused)
{
    // "[\\]" put its values on the root, which no save writes: they were lost on the next save.
    // A path thousands of keys deep overflowed the stack when the store was written or freed.
    std::string deep;
    for (std::size_t i = 0; i < 20000; ++i)
        deep += "\\k";
    std::string deepest;
    for (std::size_t i = 0; i < RegistryStore::kMaxKeyDepth; ++i)
        deepest += "k\\";
    struct Case {
        std::string line;
        const char* error;
    };
    for (const Case& c : {Case{"[\\]", "a key line must name a key"}, Case{"[\\\\\\]", "a key line must name a key"},
                          Case{"[" + deep + "]", "a key path may name at most 64 keys"},
                          Case{"[" + deepest + "x]", "a key path may name at most 64 keys"}}) {
        std::filesystem::create_directories(file().parent_path());
        std::ofstream(file(), std::ios::binary) << "[Kept]\n" << c.line << "\n@=\"lost\"\n";
        RegistryStore store(file());
        std::string error;
        EXPECT_FALSE(store.load(&error)) << c.line.substr(0, 20);
        EXPECT_NE(error.find(std::string(":2: ") + c.error), std::string::npos) << error.substr(0, 200);
    }
    std::ofstream(file(), std::ios::binary) << "[" << deepest << "]\n@=\"kept\"\n";
    RegistryStore store(file());
    std::string error;
    ASSERT_TRUE(store.load(&error)) << error;
    ASSERT_TRUE(store.save(&error)) << error;
    RegistryStore reloaded(file());
    ASSERT_TRUE(reloaded.load(&error)) << error;
    EXPECT_EQ(reloaded.value(deepest), "kept");
}

TEST_F(RegistryStoreTest, AFileLargerThanTheLimitIsRefusedUnread)
{
    const std::string head = "[Kept]\n@=\"kept\"\n";
    for (const std::uintmax_t size : {RegistryStore::kMaxFileBytes, RegistryStore::kMaxFileBytes + 1}) {
        std::filesystem::create_directories(file().parent_path());
        // Comment lines fill the file up to the size.
        std::string padding(size - head.size(), ';');
        padding.back() = '\n';
        std::ofstream(file(), std::ios::binary) << head << padding;
        RegistryStore store(file());
        std::string error;
        EXPECT_EQ(store.load(&error), size == RegistryStore::kMaxFileBytes) << size;
        EXPECT_EQ(store.hasKey("Kept"), size == RegistryStore::kMaxFileBytes) << size;
        if (size > RegistryStore::kMaxFileBytes) {
            EXPECT_NE(error.find("larger than 1048576 bytes"), std::string::npos) << error;
        }
    }
}

TEST_F(RegistryStoreTest, AFailedSaveLeavesTheOldFile)
{
    RegistryStore store(file());
    store.setValue("A", "", "1");
    ASSERT_TRUE(store.save());
    std::filesystem::create_directory(file().string() + ".new");  // the temporary cannot be written
    store.setValue("A", "", "2");
    std::string error;
    EXPECT_FALSE(store.save(&error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    RegistryStore reloaded(file());
    ASSERT_TRUE(reloaded.load());
    EXPECT_EQ(reloaded.value("A"), "1");
}

TEST_F(RegistryStoreTest, AFileThatCannotBeReplacedIsNamedAndNoTemporaryIsLeft)
{
    std::filesystem::create_directories(file() / "occupied");  // a folder in the file's place
    RegistryStore store(file());
    store.setValue("A", "", "1");
    std::string error;
    EXPECT_FALSE(store.save(&error));
    EXPECT_EQ(error.rfind("cannot replace " + file().string() + ": ", 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(file().string() + ".new"));
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
    setenv("XDG_CONFIG_HOME", "", 1);  // empty counts as unset
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "/tmp/home", 1);
    EXPECT_EQ(RegistryStore::defaultLocation(), "/tmp/home/.config/orvx/registry.reg");
    unsetenv("HOME");  // nowhere to keep settings: the temporary folder
    EXPECT_EQ(RegistryStore::defaultLocation(), std::filesystem::temp_directory_path() / "orvx/registry.reg");
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    if (before)
        setenv("ORVX_REGISTRY_FILE", saved.c_str(), 1);
}

}  // namespace
