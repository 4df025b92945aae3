#include "MappedFile.h"

#include "XFile.h"
#include "XFileException.h"

#include <cerrno>
#include <sys/mman.h>

namespace orvx::diagnostics {

CMappedFile::CMappedFile(const CXFile& file, qint64 length)
{
    if (length <= 0)
        return;
    const auto size = static_cast<std::size_t>(length);
    // Readers walk the file from its start to its end once.
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.Descriptor(), 0);
    if (data == MAP_FAILED)
        throw CXFileException(errno, file.Path());
    ::madvise(data, size, MADV_SEQUENTIAL);
    m_data = data;
    m_length = size;
}

CMappedFile::~CMappedFile()
{
    if (m_data)
        ::munmap(m_data, m_length);
}

}  // namespace orvx::diagnostics
