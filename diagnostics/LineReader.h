#pragma once

#include <QtGlobal>

#include <string_view>
#include <vector>

namespace orvx::diagnostics {

class CXFile;

// One line of a file: its bytes up to and including the line feed (none on a last line
// without one), where it starts and its number counted from 1. A line longer than
// CLineReader::kMaxLineBytes holds only its first kMaxLineBytes bytes and is marked cut.
struct FileLine {
    std::string_view bytes;
    qint64 offset = 0;
    qint64 number = 0;
    bool cut = false;
};

// Reads a file line by line in large blocks; the bytes of a line stay valid until the next call
// of Next. A line is read up to kMaxLineBytes: the rest of a longer one is passed over, so that
// a file without line feeds cannot fill the memory.
class CLineReader {
public:
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

    // Starts at offset, which begins line number firstLine.
    CLineReader(CXFile& file, qint64 offset = 0, qint64 firstLine = 1);

    // The next line, or false at the end of the file.
    bool Next(FileLine& line);
    // The line Next answered last is answered once more.
    void Unread() { m_unread = true; }

private:
    bool Fill();
    bool SkipRest(qint64& offset);

    CXFile& m_file;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;  // the next line's first byte in the buffer
    std::size_t m_end = 0;    // one past the last byte read
    bool m_atEnd = false;
    bool m_unread = false;
    bool m_skipRest = false;  // the line answered last was cut: its rest is still to pass over
    FileLine m_line;
};

}  // namespace orvx::diagnostics
