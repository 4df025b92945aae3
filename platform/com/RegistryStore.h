#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvx::com {

// Hierarchical keys, each with a default value and named text values, kept in a text file.
// Key paths use '\' between names ("CLSID\{...}\InprocServer32"); names compare without regard
// to ASCII case and keep the case they were created with. The empty value name is the default
// value. Texts are UTF-8.
class RegistryStore {
public:
    // A key line of a file may name at most this many keys, one below the other; the keys of
    // this program are four deep. The store's keys are freed and written recursively.
    static constexpr std::size_t kMaxKeyDepth = 64;
    // The largest file read: the keys of a few programs take a few kilobytes.
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 20;

    explicit RegistryStore(std::filesystem::path file);

    // ORVX_REGISTRY_FILE when set, else orvx/registry.reg in the user's configuration folder.
    static std::filesystem::path defaultLocation();

    // Reads the file. A missing file is an empty store. A malformed one leaves the store as it
    // was, answers false and says in which line it failed; so does a key line that names no key
    // ("[\]", whose values no save could write) or more than kMaxKeyDepth, and a file larger
    // than kMaxFileBytes.
    bool load(std::string* error = nullptr);
    // Writes the whole store through a temporary file, so that a failed write never leaves a
    // half-written store behind.
    bool save(std::string* error = nullptr) const;
    const std::filesystem::path& file() const { return m_file; }

    void createKey(std::string_view path);
    bool hasKey(std::string_view path) const;
    // Removes the key with everything below it; answers whether it existed.
    bool removeKey(std::string_view path);
    std::vector<std::string> subkeys(std::string_view path) const;

    void setValue(std::string_view path, std::string_view name, std::string_view value);
    std::optional<std::string> value(std::string_view path, std::string_view name = {}) const;
    bool removeValue(std::string_view path, std::string_view name);
    std::vector<std::string> valueNames(std::string_view path) const;

private:
    struct NoCase {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    struct Key {
        std::map<std::string, std::string, NoCase> values;
        std::map<std::string, Key, NoCase> children;
    };

    const Key* find(std::string_view path) const;
    Key& create(std::string_view path);
    void write(std::string& out, const std::string& path, const Key& key) const;

    std::filesystem::path m_file;
    Key m_root;
};

}  // namespace orvx::com
