#pragma once

#include <QFlags>
#include <QString>

namespace orvx::diagnostics {

// A thin owner of an operating-system file descriptor. Every failing call throws
// CXFileException with the system's error; the destructor closes quietly.
class CXFile {
public:
    enum OpenFlag { Readable = 0x1, Writable = 0x2, Create = 0x4 };
    Q_DECLARE_FLAGS(OpenFlags, OpenFlag)
    enum class Origin { Begin, Current, End };
    enum class LockKind { Shared, Exclusive };

    CXFile() = default;
    ~CXFile();
    CXFile(CXFile&& other) noexcept;
    CXFile& operator=(CXFile&& other) noexcept;
    CXFile(const CXFile&) = delete;
    CXFile& operator=(const CXFile&) = delete;

    // Opens the file, its name made absolute first, readable, writable or both; Create makes a
    // missing file. When Create finds the file already there the position moves to its end,
    // otherwise it starts at 0. Answers true when this call created the file. An open file is
    // closed first.
    bool Open(const QString& path, OpenFlags flags);
    bool IsOpen() const { return m_fd >= 0; }
    // The absolute path given to Open.
    const QString& Path() const { return m_path; }

    // Reads up to size bytes; fewer only at the end of the file.
    qint64 Read(void* data, qint64 size);
    // Writes all size bytes, however many calls the system needs for them.
    void Write(const void* data, qint64 size);
    // Answers the new position.
    qint64 Seek(qint64 offset, Origin from);
    qint64 Position() const;
    qint64 Length() const;
    // Hands the written data to the device (fsync).
    void Flush();
    void Close();
    // Waits for a lock on the range; length 0 covers everything from start on, however long
    // the file grows. A shared lock needs a readable file, an exclusive one a writable file. Locks
    // belong to the process: closing any descriptor of the file releases them.
    void LockRange(qint64 start, qint64 length, LockKind kind = LockKind::Exclusive);
    void UnlockRange(qint64 start, qint64 length);
    void SetLength(qint64 length);
    // A second descriptor of the same open file: it shares the position.
    CXFile Duplicate() const;
    // The system's descriptor of the open file, for calls this class does not wrap (mapping).
    int Descriptor() const;

private:
    [[noreturn]] void Fail(int error) const;
    void Lock(short type, qint64 start, qint64 length);

    int m_fd = -1;
    QString m_path;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CXFile::OpenFlags)

}  // namespace orvx::diagnostics
