#pragma once

// orvx-hart-device in its own process for the tests that reach it over loopback.

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orvx::hart::test {

// The device program, started on a free port; stopped with SIGTERM when the test ends.
class DeviceProcess {
public:
    explicit DeviceProcess(const std::vector<std::string>& arguments)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv{const_cast<char*>(ORVX_HART_DEVICE)};
            for (const std::string& a : arguments)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(ORVX_HART_DEVICE, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        std::FILE* stream = ::fdopen(out[0], "r");
        char line[128] = {};
        char address[64] = {};
        unsigned port = 0;
        if (stream && std::fgets(line, sizeof line, stream) &&
            std::sscanf(line, "listening %63s %u", address, &port) == 2)
            m_port = static_cast<std::uint16_t>(port);
        if (stream)
            std::fclose(stream);
    }
    ~DeviceProcess() { stop(); }

    // SIGKILL stands for a device that dies without a word.
    int stop(int signal = SIGTERM)
    {
        int status = -1;
        if (m_pid > 0) {
            ::kill(m_pid, signal);
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        return status;
    }
    std::uint16_t port() const { return m_port; }

private:
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};

}  // namespace orvx::hart::test
