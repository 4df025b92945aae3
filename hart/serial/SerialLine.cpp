#include "hart/serial/SerialLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace orvx::hart {

namespace {

std::string systemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// Unix 98 pseudo-terminals: majors 136 to 143.
bool isPseudoTerminal(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && major(status.st_rdev) >= 136 && major(status.st_rdev) <= 143;
}

// A pseudo-terminal keeps no parity, and the C library then calls the settings refused; what
// matters is what the line holds afterwards.
bool configure(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | PARENB | PARODD | CLOCAL | CREAD;
    settings.c_iflag |= INPCK | IGNPAR;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, B1200) != 0 || ::cfsetospeed(&settings, B1200) != 0)
        return false;
    ::tcsetattr(fd, TCSANOW, &settings);
    termios held{};
    const tcflag_t parity = isPseudoTerminal(fd) ? 0 : PARENB | PARODD;
    const tcflag_t wanted = CS8 | CREAD | CLOCAL | parity;
    if (::tcgetattr(fd, &held) != 0 || ::cfgetospeed(&held) != B1200 || (held.c_cflag & (CSIZE | wanted)) != wanted ||
        (held.c_cflag & CSTOPB) || (held.c_lflag & (ICANON | ECHO)) || !(held.c_iflag & INPCK)) {
        errno = EINVAL;
        return false;
    }
    return ::tcflush(fd, TCIOFLUSH) == 0;
}

}  // namespace

bool SerialLine::open(const std::string& path, std::string& error)
{
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = systemError("cannot open " + path);
        return false;
    }
    if (!::isatty(fd) || !configure(fd)) {
        error = ::isatty(fd) ? systemError("cannot set up " + path) : path + " is not a serial line";
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    m_hasModemLines = true;
    keyCarrier(false);
    return true;
}

void SerialLine::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void SerialLine::keyCarrier(bool on)
{
    if (!m_hasModemLines)
        return;
    int rts = TIOCM_RTS;
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &rts) != 0)
        m_hasModemLines = false;
}

bool SerialLine::send(ByteView bytes, std::string& error)
{
    if (m_fd < 0) {
        error = "the serial line is not open";
        return false;
    }
    keyCarrier(true);
    // Twice the time the bytes take at 1200 baud, and a second more, before the line counts as stuck.
    const int timeoutMs = static_cast<int>(2 * kCharacterMs * static_cast<double>(bytes.size())) + 1000;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written = ::write(m_fd, bytes.data() + sent, bytes.size() - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
            continue;
        }
        pollfd polled{m_fd, POLLOUT, 0};
        if ((written < 0 && errno != EAGAIN) || ::poll(&polled, 1, timeoutMs) != 1 || !(polled.revents & POLLOUT)) {
            error = written < 0 && errno == EIO      ? "the serial line " + m_path + " was closed"
                    : written < 0 && errno != EAGAIN ? systemError("cannot send on " + m_path)
                                                     : "the serial line " + m_path + " takes nothing";
            keyCarrier(false);
            return false;
        }
    }
    ::tcdrain(m_fd);
    keyCarrier(false);
    return true;
}

bool SerialLine::receive(Bytes& into, int timeoutMs, std::string& error)
{
    if (m_fd < 0) {
        error = "the serial line is not open";
        return false;
    }
    pollfd polled{m_fd, POLLIN, 0};
    const int ready = ::poll(&polled, 1, timeoutMs);
    if (ready == 0)
        return true;
    if (ready < 0 || (polled.revents & (POLLERR | POLLNVAL))) {
        error = systemError("the serial line " + m_path + " failed");
        return false;
    }
    std::uint8_t buffer[256];
    const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
    if (count > 0) {
        into.insert(into.end(), buffer, buffer + count);
        return true;
    }
    if (count < 0 && errno == EAGAIN)
        return true;
    error = count == 0 || errno == EIO ? "the serial line " + m_path + " was closed"
                                       : systemError("cannot read " + m_path);
    return false;
}

}  // namespace orvx::hart
