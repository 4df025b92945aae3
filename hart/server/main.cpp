// orvx-hart-device: simulated positioners served over HART-IP, TCP and UDP on one port, and on a
// serial line if given one, for the HART link to talk to in its own process. Several devices
// answer behind poll addresses 0, 1, ..., as behind a gateway or on one loop. Listens on loopback
// unless given an address.
//   orvx-hart-device [--listen ADDRESS] [--port PORT] [--devices N] [--max-sessions N] [--psk FILE]
//                    [--serial PATH] [--speed N] [--journal FILE] [--other-make POLL]
// With --port 0 a free port is taken. Once listening it prints "listening ADDRESS PORT". With
// --psk only TCP is served, over TLS with the pre-shared key in FILE (one line IDENTITY:HEXKEY);
// UDP is then not served at all.
//   orvx-hart-device --tables    prints the parameter, method and notification tables of
//                                docs/hart-command-set.md
#include "hart/commands/CommandSetTable.h"
#include "hart/server/HartIpServer.h"
#include "hart/server/OtherMakeDevice.h"
#include "hart/server/PositionerDevice.h"
#include "hart/server/SerialLineServer.h"
#include "hart/tls/PresharedKey.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <variant>

using namespace orvx::hart;

namespace {

volatile std::sig_atomic_t g_stop = 0;

// The device id of the positioner at poll address 0; the next ones count on from it.
constexpr std::uint32_t kFirstDeviceId = 0x0A1B00;

void onSignal(int)
{
    g_stop = 1;
}

bool number(const char* text, unsigned long max, unsigned long& value)
{
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end && *end == '\0' && end != text && value <= max;
}

int usage()
{
    std::fputs("usage: orvx-hart-device [--listen ADDRESS] [--port PORT] [--devices 1-64] [--max-sessions 1-64]\n"
               "                        [--psk FILE] [--serial PATH] [--speed 1-1000] [--journal FILE]\n"
               "                        [--other-make POLL]\n"
               "  --psk FILE     TCP only, over TLS with the pre-shared key in FILE (one line IDENTITY:HEXKEY);\n"
               "                 UDP is not served\n"
               "  --serial PATH  also serve on the serial line at PATH, as devices behind a HART modem\n"
               "  --speed N      the devices' time runs N times as fast as the clock\n"
               "  --journal FILE appends a line to FILE for every request that may change a device\n"
               "  --other-make POLL  the device at POLL is of another make: universal commands only\n",
               stderr);
    return 2;
}

struct Options {
    ServerOptions server;
    unsigned long devices = 1;
    std::string serialPath;
    unsigned long speed = 1;
    std::string journalPath;
    std::optional<unsigned long> otherMake;  // the poll address of a device of another make
};

// One line a request: its command and its data in hex.
void writeJournal(std::FILE* journal, const Pdu& request)
{
    std::string data;
    for (const std::uint8_t byte : request.data) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        data += hex;
    }
    std::fprintf(journal, "command %u data %s\n", request.command, data.empty() ? "-" : data.c_str());
    std::fflush(journal);
}

// The options, or the exit status of a command line that cannot be served.
std::variant<Options, int> readOptions(int argc, char** argv)
{
    Options read;
    ServerOptions& options = read.server;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        unsigned long value = 0;
        if (i + 1 >= argc)
            return usage();
        const char* argument = argv[++i];
        if (option == "--listen")
            options.address = argument;
        else if (option == "--port" && number(argument, 65535, value))
            options.port = static_cast<std::uint16_t>(value);
        else if (option == "--devices" && number(argument, 64, value) && value > 0)
            read.devices = value;
        else if (option == "--serial" && *argument)
            read.serialPath = argument;
        else if (option == "--speed" && number(argument, 1000, value) && value > 0)
            read.speed = value;
        else if (option == "--journal" && *argument)
            read.journalPath = argument;
        else if (option == "--other-make" && number(argument, 63, value))
            read.otherMake = value;
        else if (option == "--max-sessions" && number(argument, 64, value) && value > 0)
            options.maxSessions = value;
        else if (option == "--psk") {
            Decoded<PresharedKey> key = readPresharedKey(argument);
            if (!key) {
                std::fprintf(stderr, "orvx-hart-device: %s\n", key.refusal().reason.c_str());
                return 2;
            }
            options.presharedKey = std::move(key).value();
        } else
            return usage();
    }
    return read;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--tables") {
        std::fputs(commandSetTables().c_str(), stdout);
        return 0;
    }
    const std::variant<Options, int> read = readOptions(argc, argv);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    const auto& [options, devices, serialPath, speed, journalPath, otherMake] = std::get<Options>(read);
    std::vector<std::unique_ptr<IServedDevice>> positioners;
    for (unsigned long poll = 0; poll < devices; ++poll) {
        const auto pollAddress = static_cast<std::uint8_t>(poll);
        if (otherMake == poll)
            positioners.push_back(std::make_unique<OtherMakeDevice>(pollAddress, kFirstDeviceId + pollAddress));
        else
            positioners.push_back(std::make_unique<PositionerDevice>(pollAddress, kFirstDeviceId + pollAddress));
    }
    DeviceResponder responder(std::move(positioners));
    responder.setSpeed(static_cast<unsigned>(speed));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> journal(nullptr, std::fclose);
    if (!journalPath.empty()) {
        journal.reset(std::fopen(journalPath.c_str(), "a"));
        if (!journal) {
            std::fprintf(stderr, "orvx-hart-device: cannot write %s: %s\n", journalPath.c_str(), std::strerror(errno));
            return 1;
        }
        responder.setJournal([file = journal.get()](const Pdu& request) { writeJournal(file, request); });
    }
    HartIpServer server(options, responder);
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "orvx-hart-device: cannot listen on %s port %u: %s\n", options.address.c_str(),
                     options.port, error.c_str());
        return 1;
    }
    std::unique_ptr<SerialLineServer> serial;
    if (!serialPath.empty()) {
        serial = std::make_unique<SerialLineServer>(serialPath, responder);
        if (!serial->start(error)) {
            std::fprintf(stderr, "orvx-hart-device: %s\n", error.c_str());
            return 1;
        }
    }
    std::signal(SIGPIPE, SIG_IGN);  // a client that went away is seen in the socket's answer
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::printf("listening %s %u\n", options.address.c_str(), server.port());
    std::fflush(stdout);
    while (!g_stop) {
        server.serveOnce(200, serial ? serial->descriptor() : -1);
        if (serial)
            serial->serveOnce(0);
    }
    return 0;
}
