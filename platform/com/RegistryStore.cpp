#include "RegistryStore.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace orvx::com {

namespace {

std::vector<std::string_view> split(std::string_view path)
{
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto name = path.substr(0, cut);
        if (!name.empty())
            names.push_back(name);
        if (cut == std::string_view::npos)
            break;
        path.remove_prefix(cut + 1);
    }
    return names;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string quotedText(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out + '"';
}

// Reads a quoted text at the start of 'line'; answers it and leaves 'line' after the closing quote.
std::optional<std::string> unquote(std::string_view& line)
{
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\') {
            if (++i == line.size())
                return std::nullopt;
            switch (line[i]) {
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return std::nullopt;
            }
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

}  // namespace

bool RegistryStore::NoCase::operator()(std::string_view a, std::string_view b) const
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = lower(a[i]);
        const char y = lower(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

RegistryStore::RegistryStore(std::filesystem::path file) : m_file(std::move(file)) {}

std::filesystem::path RegistryStore::defaultLocation()
{
    if (const char* file = std::getenv("ORVX_REGISTRY_FILE"); file && *file)
        return file;
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::filesystem::path(home) / ".config";
    else
        config = std::filesystem::temp_directory_path();
    return config / "orvx" / "registry.reg";
}

const RegistryStore::Key* RegistryStore::find(std::string_view path) const
{
    const Key* key = &m_root;
    for (auto name : split(path)) {
        const auto it = key->children.find(name);
        if (it == key->children.end())
            return nullptr;
        key = &it->second;
    }
    return key;
}

RegistryStore::Key& RegistryStore::create(std::string_view path)
{
    Key* key = &m_root;
    for (auto name : split(path)) {
        auto it = key->children.find(name);
        if (it == key->children.end())
            it = key->children.emplace(std::string(name), Key{}).first;
        key = &it->second;
    }
    return *key;
}

void RegistryStore::createKey(std::string_view path)
{
    create(path);
}

bool RegistryStore::hasKey(std::string_view path) const
{
    return find(path) != nullptr;
}

bool RegistryStore::removeKey(std::string_view path)
{
    auto names = split(path);
    if (names.empty())
        return false;
    const auto last = names.back();
    names.pop_back();
    Key* parent = &m_root;
    for (auto name : names) {
        const auto it = parent->children.find(name);
        if (it == parent->children.end())
            return false;
        parent = &it->second;
    }
    const auto it = parent->children.find(last);
    if (it == parent->children.end())
        return false;
    parent->children.erase(it);
    return true;
}

std::vector<std::string> RegistryStore::subkeys(std::string_view path) const
{
    std::vector<std::string> names;
    if (const Key* key = find(path))
        for (const auto& [name, child] : key->children)
            names.push_back(name);
    return names;
}

void RegistryStore::setValue(std::string_view path, std::string_view name, std::string_view value)
{
    Key& key = create(path);
    const auto it = key.values.find(name);
    if (it != key.values.end())
        it->second = value;
    else
        key.values.emplace(std::string(name), std::string(value));
}

std::optional<std::string> RegistryStore::value(std::string_view path, std::string_view name) const
{
    const Key* key = find(path);
    if (!key)
        return std::nullopt;
    const auto it = key->values.find(name);
    if (it == key->values.end())
        return std::nullopt;
    return it->second;
}

bool RegistryStore::removeValue(std::string_view path, std::string_view name)
{
    const Key* key = find(path);
    if (!key)
        return false;
    auto& values = const_cast<Key*>(key)->values;
    const auto it = values.find(name);
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

std::vector<std::string> RegistryStore::valueNames(std::string_view path) const
{
    std::vector<std::string> names;
    if (const Key* key = find(path))
        for (const auto& [name, value] : key->values)
            names.push_back(name);
    return names;
}

void RegistryStore::write(std::string& out, const std::string& path, const Key& key) const
{
    if (!path.empty()) {
        out += "\n[" + path + "]\n";
        for (const auto& [name, value] : key.values)
            out += (name.empty() ? std::string("@") : quotedText(name)) + "=" + quotedText(value) + "\n";
    }
    for (const auto& [name, child] : key.children)
        write(out, path.empty() ? name : path + "\\" + name, child);
}

bool RegistryStore::save(std::string* error) const
{
    std::string text = "; Orvx component registry\n";
    write(text, {}, m_root);

    std::error_code ec;
    if (m_file.has_parent_path())
        std::filesystem::create_directories(m_file.parent_path(), ec);
    const auto temporary = std::filesystem::path(m_file.string() + ".new");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            if (error)
                *error = "cannot write " + temporary.string();
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::filesystem::rename(temporary, m_file, ec);
    if (ec) {
        if (error)
            *error = "cannot replace " + m_file.string() + ": " + ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

namespace {

// A key line, "[path]": its path, or what is wrong with it.
const char* readKeyLine(std::string_view line, std::string_view& path)
{
    if (line.back() != ']' || line.size() < 3)
        return "a key line must read [path]";
    path = line.substr(1, line.size() - 2);
    const std::size_t depth = split(path).size();
    if (depth == 0)
        return "a key line must name a key";
    if (depth > RegistryStore::kMaxKeyDepth)
        return "a key path may name at most 64 keys";
    return nullptr;
}

// A value line, @ or a quoted name, "=" and one quoted text: its name and value, or what is
// wrong with it.
const char* readValueLine(std::string_view rest, std::string& name, std::string& value)
{
    if (rest.front() == '@') {
        rest.remove_prefix(1);
    } else {
        auto quotedName = unquote(rest);
        if (!quotedName)
            return "a value name must be @ or a quoted text";
        name = std::move(*quotedName);
    }
    if (rest.empty() || rest.front() != '=')
        return "expected = after the value name";
    rest.remove_prefix(1);
    auto quotedValue = unquote(rest);
    if (!quotedValue || !rest.empty())
        return "a value must be one quoted text";
    value = std::move(*quotedValue);
    return nullptr;
}

}  // namespace

bool RegistryStore::load(std::string* error)
{
    std::ifstream in(m_file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (!std::filesystem::exists(m_file, ec)) {
            m_root = Key{};
            return true;
        }
        if (error)
            *error = "cannot read " + m_file.string();
        return false;
    }

    std::error_code sizeError;
    if (const auto size = std::filesystem::file_size(m_file, sizeError); !sizeError && size > kMaxFileBytes) {
        if (error)
            *error = m_file.string() + ": larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return false;
    }
    RegistryStore loaded(m_file);
    Key* current = nullptr;
    std::string line;
    int number = 0;
    auto fail = [&](const char* what) {
        if (error)
            *error = m_file.string() + ":" + std::to_string(number) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string_view rest = line;
        if (rest.empty() || rest.front() == ';')
            continue;
        if (rest.front() == '[') {
            std::string_view path;
            if (const char* wrong = readKeyLine(rest, path))
                return fail(wrong);
            current = &loaded.create(path);
            continue;
        }
        if (!current)
            return fail("a value before the first key");
        std::string name;
        std::string value;
        if (const char* wrong = readValueLine(rest, name, value))
            return fail(wrong);
        current->values[name] = std::move(value);
    }
    m_root = std::move(loaded.m_root);
    return true;
}

}  // namespace orvx::com
