#pragma once

// A scratch file for the targets that read files: one per process, rewritten for every input.
// No Qt here: the component-model targets link without it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace orvx::fuzz {

class ScratchFile {
public:
    explicit ScratchFile(const char* suffix)
    {
        const char* folder = std::getenv("TMPDIR");
        m_path = std::string(folder && *folder ? folder : "/tmp") + "/orvx-fuzz-" + std::to_string(::getpid()) + suffix;
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file)
            std::abort();
        if (size > 0 && std::fwrite(data, 1, size, file) != size)
            std::abort();
        std::fclose(file);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace orvx::fuzz
