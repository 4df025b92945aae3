#include "XFile.h"

#include "XFileException.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvx::diagnostics {

namespace {

// Runs a system call again when a signal interrupted it.
template <typename Call>
auto retry(Call call)
{
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

}  // namespace

CXFile::~CXFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

CXFile::CXFile(CXFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

CXFile& CXFile::operator=(CXFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

bool CXFile::Open(const QString& path, OpenFlags flags)
{
    if (m_fd >= 0)
        Close();
    m_path = QFileInfo(path).absoluteFilePath();
    int access = 0;
    if (flags.testFlags(Readable | Writable))
        access = O_RDWR;
    else if (flags.testFlag(Readable))
        access = O_RDONLY;
    else if (flags.testFlag(Writable))
        access = O_WRONLY;
    else
        Fail(EINVAL);
    const QByteArray name = QFile::encodeName(m_path);

    if (!flags.testFlag(Create)) {
        m_fd = retry([&] { return ::open(name.constData(), access | O_CLOEXEC); });
        if (m_fd < 0)
            Fail(errno);
        return false;
    }
    // Creating exclusively first tells a new file from an existing one; the file may come and go
    // between the two calls, so they are tried until one of them holds.
    for (;;) {
        m_fd = retry([&] { return ::open(name.constData(), access | O_CLOEXEC | O_CREAT | O_EXCL, 0666); });
        if (m_fd >= 0)
            return true;
        if (errno != EEXIST)
            Fail(errno);
        m_fd = retry([&] { return ::open(name.constData(), access | O_CLOEXEC); });
        if (m_fd >= 0) {
            Seek(0, Origin::End);
            return false;
        }
        if (errno != ENOENT)
            Fail(errno);
    }
}

qint64 CXFile::Read(void* data, qint64 size)
{
    const int fd = Descriptor();
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = retry([&] { return ::read(fd, static_cast<char*>(data) + done, size - done); });
        if (n < 0)
            Fail(errno);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

void CXFile::Write(const void* data, qint64 size)
{
    const int fd = Descriptor();
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = retry([&] { return ::write(fd, static_cast<const char*>(data) + done, size - done); });
        if (n < 0)
            Fail(errno);
        if (n == 0)
            Fail(EIO);
        done += n;
    }
}

qint64 CXFile::Seek(qint64 offset, Origin from)
{
    const int whence = from == Origin::Begin ? SEEK_SET : from == Origin::Current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(Descriptor(), offset, whence);
    if (position < 0)
        Fail(errno);
    return position;
}

qint64 CXFile::Position() const
{
    const off_t position = ::lseek(Descriptor(), 0, SEEK_CUR);
    if (position < 0)
        Fail(errno);
    return position;
}

qint64 CXFile::Length() const
{
    struct stat status {};
    if (::fstat(Descriptor(), &status) != 0)
        Fail(errno);
    return status.st_size;
}

void CXFile::Flush()
{
    if (retry([&] { return ::fsync(Descriptor()); }) != 0)
        Fail(errno);
}

void CXFile::Close()
{
    // The descriptor is gone whatever close answers; retrying could close another file's.
    const int fd = std::exchange(m_fd, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        Fail(errno);
}

void CXFile::LockRange(qint64 start, qint64 length, LockKind kind)
{
    Lock(kind == LockKind::Shared ? F_RDLCK : F_WRLCK, start, length);
}

void CXFile::UnlockRange(qint64 start, qint64 length)
{
    Lock(F_UNLCK, start, length);
}

void CXFile::Lock(short type, qint64 start, qint64 length)
{
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = start;
    range.l_len = length;
    const int fd = Descriptor();
    if (retry([&] { return ::fcntl(fd, F_SETLKW, &range); }) != 0)
        Fail(errno);
}

void CXFile::SetLength(qint64 length)
{
    if (retry([&] { return ::ftruncate(Descriptor(), length); }) != 0)
        Fail(errno);
}

CXFile CXFile::Duplicate() const
{
    CXFile copy;
    copy.m_fd = ::fcntl(Descriptor(), F_DUPFD_CLOEXEC, 0);
    if (copy.m_fd < 0)
        Fail(errno);
    copy.m_path = m_path;
    return copy;
}

int CXFile::Descriptor() const
{
    if (m_fd < 0)
        Fail(EBADF);
    return m_fd;
}

void CXFile::Fail(int error) const
{
    throw CXFileException(error, m_path);
}

}  // namespace orvx::diagnostics
