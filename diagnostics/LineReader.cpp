#include "LineReader.h"

#include <algorithm>
#include <cstring>

namespace orvx::diagnostics {

namespace {

// Where the line feed is among the first size bytes at start, or null.
const char* findFeed(const char* start, std::size_t size)
{
    return static_cast<const char*>(std::memchr(start, '\n', size));
}

}  // namespace

CLineReader::CLineReader(std::string_view file, qint64 offset, qint64 firstLine)
    : m_file(file), m_next(std::clamp<qint64>(offset, 0, static_cast<qint64>(file.size())))
{
    m_line.offset = m_next;
    m_line.number = firstLine - 1;
}

bool CLineReader::Next(FileLine& line)
{
    if (m_unread) {
        m_unread = false;
        line = m_line;
        return true;
    }
    const auto start = static_cast<std::size_t>(m_next);
    if (start == m_file.size())
        return false;
    const char* const begin = m_file.data() + start;
    const std::size_t rest = m_file.size() - start;
    std::size_t size = rest;
    std::size_t next = m_file.size();
    m_line.cut = false;
    if (const char* feed = findFeed(begin, std::min(rest, kMaxLineBytes))) {
        size = static_cast<std::size_t>(feed - begin) + 1;
        next = start + size;
    } else if (rest >= kMaxLineBytes) {
        size = kMaxLineBytes;
        m_line.cut = true;
        if (const char* feed = findFeed(begin + size, rest - size))
            next = static_cast<std::size_t>(feed - m_file.data()) + 1;
    }
    m_line.bytes = std::string_view(begin, size);
    m_line.offset = static_cast<qint64>(start);
    ++m_line.number;
    m_next = static_cast<qint64>(next);
    line = m_line;
    return true;
}

void CLineReader::Pass(std::size_t size, qint64 count)
{
    if (count == 0)
        return;
    // A line answered again is the first of those passed.
    const qint64 first = m_unread ? m_line.number : m_line.number + 1;
    const std::size_t start = m_unread ? static_cast<std::size_t>(m_line.offset) : static_cast<std::size_t>(m_next);
    m_unread = false;
    const std::size_t end = start + size;
    // The last line passed, so that its number and the place after it read on from there.
    const char* const last = static_cast<const char*>(memrchr(m_file.data() + start, '\n', size - 1));
    const std::size_t lastStart = last ? static_cast<std::size_t>(last - m_file.data()) + 1 : start;
    m_line.bytes = m_file.substr(lastStart, end - lastStart);
    m_line.offset = static_cast<qint64>(lastStart);
    m_line.number = first + count - 1;
    m_line.cut = false;
    m_next = static_cast<qint64>(end);
}

}  // namespace orvx::diagnostics
