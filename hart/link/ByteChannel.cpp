#include "hart/link/ByteChannel.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace orvx::hart {

namespace {

class PlainChannel : public IByteChannel {
public:
    bool start(int fd, int, std::string&) override
    {
        m_fd = fd;
        return true;
    }
    bool send(ByteView bytes, int, std::string& error) override
    {
        if (::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size()))
            return true;
        error = std::strerror(errno);
        return false;
    }
    Received receive(std::uint8_t* buffer, std::size_t size, int timeoutMs) override
    {
        if (!waitForSocket(m_fd, POLLIN, timeoutMs))
            return {};
        const ssize_t received = ::recv(m_fd, buffer, size, 0);
        if (received < 0)
            return {Status::Failed, 0, std::strerror(errno)};
        if (received == 0)
            return {Status::Closed, 0, {}};
        return {Status::Data, static_cast<std::size_t>(received), {}};
    }
    void stop() override { m_fd = -1; }

private:
    int m_fd = -1;
};

}  // namespace

std::unique_ptr<IByteChannel> makePlainChannel()
{
    return std::make_unique<PlainChannel>();
}

bool waitForSocket(int fd, short events, int timeoutMs)
{
    pollfd polled{fd, events, 0};
    return ::poll(&polled, 1, timeoutMs) == 1 && (polled.revents & events);
}

}  // namespace orvx::hart
