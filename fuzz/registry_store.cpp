// The registry store file: a file either loads or is refused with the line it failed in, and
// what loads survives a save and a second load unchanged, the values of every key included.
#include "FuzzSupport.h"
#include "platform/com/RegistryStore.h"

#include <string>

using orvx::com::RegistryStore;

namespace {

// Every key and value below 'path', names in the store's order.
void dump(const RegistryStore& store, const std::string& path, std::string& out)
{
    for (const std::string& name : store.valueNames(path))
        out += path + "|" + name + "=" + store.value(path, name).value_or("<missing>") + "\n";
    for (const std::string& key : store.subkeys(path)) {
        const std::string child = path.empty() ? key : path + "\\" + key;
        out += "[" + child + "]\n";
        dump(store, child, out);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const orvx::fuzz::ScratchFile file(".reg");
    file.write(data, size);

    RegistryStore store(file.path());
    std::string error;
    if (!store.load(&error)) {
        if (error.empty())
            std::abort();  // a refusal says where and why
        return 0;
    }
    std::string loaded;
    dump(store, {}, loaded);

    // The store rewrites its own file.
    if (!store.save(&error))
        std::abort();
    RegistryStore reloaded(file.path());
    if (!reloaded.load(&error))
        std::abort();  // what the store writes, it reads
    std::string saved;
    dump(reloaded, {}, saved);
    if (saved != loaded)
        std::abort();  // nothing lost or changed on the way through the file
    return 0;
}
