#pragma once

#include <QtGlobal>

#include <string_view>

namespace orvx::diagnostics {

class CXFile;

// The first bytes of an open file, mapped read-only into memory for as long as the object
// lives. Readers hold a lock that keeps writers out while they use it: a file cut shorter while
// mapped would fault on the bytes that are gone. An empty length maps nothing. A mapping the
// system refuses throws CXFileException with its error.
class CMappedFile {
public:
    CMappedFile(const CXFile& file, qint64 length);
    ~CMappedFile();
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    std::string_view Bytes() const { return {static_cast<const char*>(m_data), m_length}; }

private:
    void* m_data = nullptr;
    std::size_t m_length = 0;
};

}  // namespace orvx::diagnostics
