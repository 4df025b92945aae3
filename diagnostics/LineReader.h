#pragma once

#include <QtGlobal>

#include <string_view>
#include <vector>

namespace orvx::diagnostics {

class CXFile;

// One line of a file: its bytes up to and including the line feed (none on a last line
// without one), where it starts and its number counted from 1.
struct FileLine {
    std::string_view bytes;
    qint64 offset = 0;
    qint64 number = 0;
};

// Reads a file line by line in large blocks. A line may be of any length; the bytes of a line
// stay valid until the next call of Next.
class CLineReader {
public:
    // Starts at offset, which begins line number firstLine.
    CLineReader(CXFile& file, qint64 offset = 0, qint64 firstLine = 1);

    // The next line, or false at the end of the file.
    bool Next(FileLine& line);
    // The line Next answered last is answered once more.
    void Unread() { m_unread = true; }

private:
    bool Fill();

    CXFile& m_file;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;  // the next line's first byte in the buffer
    std::size_t m_end = 0;    // one past the last byte read
    bool m_atEnd = false;
    bool m_unread = false;
    FileLine m_line;
};

}  // namespace orvx::diagnostics
