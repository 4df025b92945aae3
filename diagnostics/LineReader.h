#pragma once

#include <QtGlobal>

#include <string_view>

namespace orvx::diagnostics {

// One line of a file: its bytes up to and including the line feed (none on a last line
// without one), where it starts and its number counted from 1. A line longer than
// CLineReader::kMaxLineBytes holds only its first kMaxLineBytes bytes and is marked cut.
struct FileLine {
    std::string_view bytes;
    qint64 offset = 0;
    qint64 number = 0;
    bool cut = false;
};

// Reads the bytes of a whole file (mapped, see CMappedFile) line by line; they must stay valid
// while the reader and the lines it answered are in use. A line is read up to kMaxLineBytes: the
// rest of a longer one is passed over, so that a line without end reads as it always did.
class CLineReader {
public:
    static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

    // Starts at offset, which begins line number firstLine; an offset past the end reads nothing.
    explicit CLineReader(std::string_view file, qint64 offset = 0, qint64 firstLine = 1);

    // The next line, or false at the end of the file.
    bool Next(FileLine& line);
    // The line Next answered last is answered once more.
    void Unread() { m_unread = true; }

    // The bytes from the line Next would answer to the end of the file, for a caller that reads
    // whole lines faster than one by one.
    std::string_view Ahead() const
    {
        return m_file.substr(static_cast<std::size_t>(m_unread ? m_line.offset : m_next));
    }
    // Passes over the first size bytes of Ahead(), which the caller found to be count whole
    // lines, each no longer than kMaxLineBytes and ended by its line feed.
    void Pass(std::size_t size, qint64 count);
    // The number of the line answered or passed last; firstLine - 1 before any.
    qint64 LineNumber() const { return m_line.number; }

private:
    std::string_view m_file;
    qint64 m_next = 0;  // where the line after m_line starts
    bool m_unread = false;
    FileLine m_line;
};

}  // namespace orvx::diagnostics
