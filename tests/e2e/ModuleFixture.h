#pragma once

// The real module, loaded as a frame loads it: through the registry and its entry points, with
// a registry file of the test's own.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include <cstdint>
#include <dlfcn.h>
#include <string>

namespace orvx::test {

using Entry = std::int32_t (*)();

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

}  // namespace orvx::test
