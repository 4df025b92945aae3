#include "LineReader.h"

#include "XFile.h"

#include <cstring>

namespace orvx::diagnostics {

namespace {

constexpr std::size_t kBlock = 1 << 20;

}  // namespace

CLineReader::CLineReader(CXFile& file, qint64 offset, qint64 firstLine) : m_file(file), m_buffer(kBlock)
{
    m_file.Seek(offset, CXFile::Origin::Begin);
    m_line.offset = offset;
    m_line.number = firstLine - 1;
}

bool CLineReader::Next(FileLine& line)
{
    if (m_unread) {
        m_unread = false;
        line = m_line;
        return true;
    }
    qint64 offset = m_line.offset + static_cast<qint64>(m_line.bytes.size());
    if (m_skipRest && !SkipRest(offset))
        return false;
    m_line.cut = false;
    std::size_t searched = m_begin;
    for (;;) {
        const void* feed = std::memchr(m_buffer.data() + searched, '\n', m_end - searched);
        if (feed) {
            const std::size_t stop = static_cast<const char*>(feed) - m_buffer.data() + 1;
            m_line.bytes = std::string_view(m_buffer.data() + m_begin, stop - m_begin);
            m_begin = stop;
            break;
        }
        if (m_end - m_begin >= kMaxLineBytes) {
            m_line.bytes = std::string_view(m_buffer.data() + m_begin, kMaxLineBytes);
            m_line.cut = true;
            m_begin += kMaxLineBytes;
            m_skipRest = true;
            break;
        }
        searched = m_end - m_begin;  // Fill moves the unfinished line to the front
        if (!Fill()) {
            if (m_begin == m_end)
                return false;
            m_line.bytes = std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
            m_begin = m_end;
            break;
        }
    }
    m_line.offset = offset;
    ++m_line.number;
    line = m_line;
    return true;
}

// Passes over the rest of a cut line, its line feed included, adding what it passed to offset.
// Answers false when the file ends in it.
bool CLineReader::SkipRest(qint64& offset)
{
    m_skipRest = false;
    for (;;) {
        const void* feed = std::memchr(m_buffer.data() + m_begin, '\n', m_end - m_begin);
        if (feed) {
            const std::size_t stop = static_cast<const char*>(feed) - m_buffer.data() + 1;
            offset += static_cast<qint64>(stop - m_begin);
            m_begin = stop;
            return true;
        }
        offset += static_cast<qint64>(m_end - m_begin);
        m_begin = m_end;
        if (!Fill())
            return false;
    }
}

// Moves the unfinished line to the front of the buffer, grows the buffer when that line fills
// it, and reads more. Answers false at the end of the file.
bool CLineReader::Fill()
{
    if (m_atEnd)
        return false;
    const std::size_t kept = m_end - m_begin;
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, kept);
        m_begin = 0;
        m_end = kept;
    }
    if (m_end == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    const qint64 n = m_file.Read(m_buffer.data() + m_end, static_cast<qint64>(m_buffer.size() - m_end));
    m_end += static_cast<std::size_t>(n);
    if (n == 0)
        m_atEnd = true;
    return n > 0;
}

}  // namespace orvx::diagnostics
