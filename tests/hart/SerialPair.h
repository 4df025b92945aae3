#pragma once

// Two pseudo-terminals joined by socat, standing for a HART modem's serial line with the master
// on one end and the devices on the other. The line's ends are links in a folder of their own.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvx::hart::test {

class SerialPair {
public:
    SerialPair()
    {
        char folder[] = "/tmp/orvx-serial-XXXXXX";
        if (!::mkdtemp(folder))
            return;
        m_folder = folder;
        start();
    }
    ~SerialPair()
    {
        stop();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    // Whether both ends are there; false where socat is not installed.
    bool ready() const { return m_pid > 0 && exists(masterEnd()) && exists(deviceEnd()); }
    std::string masterEnd() const { return m_folder + "/master"; }
    std::string deviceEnd() const { return m_folder + "/device"; }

    // The line goes away, as a modem unplugged; start() brings it back.
    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = -1;
    }
    void start()
    {
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string master = "pty,raw,echo=0,link=" + masterEnd();
            const std::string device = "pty,raw,echo=0,link=" + deviceEnd();
            ::execlp("socat", "socat", master.c_str(), device.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 300 && m_pid > 0 && !ready(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

private:
    static bool exists(const std::string& path)
    {
        std::error_code ignored;
        return std::filesystem::exists(path, ignored);
    }

    std::string m_folder;
    pid_t m_pid = -1;
};

}  // namespace orvx::hart::test
