// A real session on the loopback interface (the second of two: the first may begin before the
// capture does), captured by dumpcap and read back by Wireshark's
// HART-IP decoder: no malformed packet, and the commands, response codes and identity it decodes
// are the ones the link sent and read. Skipped where capturing is not allowed (it needs root or
// the capture capability) or dumpcap is not installed.
#include "DeviceProcess.h"
#include "hart/link/HartBusinessObject.h"
#include "hart/link/HartIpTransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

namespace orvx::hart {
namespace {

using test::DeviceProcess;

// dumpcap on the loopback interface, for the traffic of one port, until stopped.
class Capture {
public:
    Capture(const std::string& file, std::uint16_t port)
    {
        if (std::system("command -v dumpcap >/dev/null 2>&1") != 0)
            return;
        const std::string log = file + ".log";
        m_pid = ::fork();
        if (m_pid == 0) {
            const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, STDERR_FILENO);
            ::dup2(out, STDOUT_FILENO);
            const std::string filter = "port " + std::to_string(port);
            ::execlp("dumpcap", "dumpcap", "-i", "lo", "-f", filter.c_str(), "-w", file.c_str(), nullptr);
            ::_exit(127);
        }
        // dumpcap says "Capturing on ..." once it listens; it may refuse instead, or be gone.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_running && std::chrono::steady_clock::now() < deadline && ::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            std::ifstream said(log);
            const std::string text((std::istreambuf_iterator<char>(said)), std::istreambuf_iterator<char>());
            m_running = text.find("Capturing on") != std::string::npos;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::remove(log.c_str());
    }
    ~Capture() { stop(); }
    bool running() const { return m_running; }
    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGINT);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    bool m_running = false;
};

struct Decoded {
    std::map<std::string, int> commands;  // "request 128" or "response 128/0" with its count
    std::string deviceId;
    std::string deviceRevision;
    int malformed = 0;
    int packets = 0;
};

// The capture as the decoder reads it; the port is not HART-IP's own, so it is named.
Decoded decode(const std::string& file, std::uint16_t port)
{
    const std::string decodeAs = " -d tcp.port==" + std::to_string(port) + ",hart_ip";
    const std::string command = "tshark -n -r '" + file + "'" + decodeAs +
                                " -Y hart_ip -T fields -E separator=/t -E occurrence=f -e hart_ip.message_type "
                                "-e hart_ip.pt.command -e hart_ip.pt.response_code -e hart_ip.pt.rsp.device_id "
                                "-e hart_ip.pt.rsp.device_rev -e _ws.malformed -e tcp.stream 2>/dev/null";
    std::vector<std::vector<std::string>> rows;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    char line[1024];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        std::vector<std::string> fields;
        std::stringstream row(std::string(line).substr(0, std::string(line).find('\n')));
        for (std::string field; std::getline(row, field, '\t');)
            fields.push_back(field);
        fields.resize(7);
        rows.push_back(fields);
    }
    if (pipe)
        ::pclose(pipe);
    // The last connection only: the first may have begun before the capture did.
    Decoded decoded;
    const std::string last = rows.empty() ? std::string() : rows.back()[6];
    for (const std::vector<std::string>& fields : rows) {
        if (fields[6] != last)
            continue;
        ++decoded.packets;
        decoded.malformed += !fields[5].empty();
        if (fields[1].empty())
            continue;
        decoded.commands[fields[0] == "0" ? "request " + fields[1] : "response " + fields[1] + "/" + fields[2]]++;
        if (fields[1] == "0" && fields[0] == "1") {
            decoded.deviceId = fields[3];
            decoded.deviceRevision = fields[4];
        }
    }
    return decoded;
}

class NoPoster : public IPoster {
public:
    void post(std::function<void()>) override {}
};

TEST(CapturedSession, DecodesAsTheLinkSentAndReadIt)
{
    if (std::system("command -v tshark >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tshark is not installed";
    DeviceProcess server({"--port", "0"});
    ASSERT_NE(server.port(), 0);
    const std::string file = ::testing::TempDir() + "hart-capture-" + std::to_string(::getpid()) + ".pcapng";
    Capture capture(file, server.port());
    if (!capture.running())
        GTEST_SKIP() << "capturing on the loopback interface is not allowed here";

    Endpoint endpoint;
    endpoint.host = "127.0.0.1";
    endpoint.port = server.port();
    NoPoster poster;
    for (int session = 0; session < 2; ++session) {
        auto object = com::makeComObject<HartBusinessObject>(std::make_unique<HartIpTransport>(endpoint), 0, poster);
        object->Start();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
        com::Variant travel;
        while (object->GetParameter(com::BStr(u"16000"), &travel) != com::Status::Ok &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::uint32_t word = 0;
        ASSERT_EQ(object->SetParameter(com::BStr(u"16000"), com::Variant::text(com::BStr(u"12.5")), &word),
                  com::Status::Ok);
        object->Stop();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the last packets reach the file
    capture.stop();
    const Decoded decoded = decode(file, server.port());
    std::remove(file.c_str());

    EXPECT_GT(decoded.packets, 100);
    EXPECT_EQ(decoded.malformed, 0);
    EXPECT_EQ(decoded.deviceId, "0a1b00");
    EXPECT_EQ(decoded.deviceRevision, "1");
    EXPECT_EQ(decoded.commands.at("request 0"), 1);
    EXPECT_EQ(decoded.commands.at("response 0/0"), 1);
    EXPECT_EQ(decoded.commands.at("request 129"), 1);
    EXPECT_EQ(decoded.commands.at("response 129/0"), 1);
    EXPECT_EQ(decoded.commands.at("request 128"), decoded.commands.at("response 128/0"));
    // Only what the link needs: identify, read, write, notifications, curves.
    for (const auto& [what, count] : decoded.commands) {
        const std::string number = what.substr(what.find(' ') + 1, what.find('/') - what.find(' ') - 1);
        EXPECT_TRUE(number == "0" || number == "128" || number == "129" || number == "131" || number == "132")
            << what << " x" << count;
    }
}

}  // namespace
}  // namespace orvx::hart
