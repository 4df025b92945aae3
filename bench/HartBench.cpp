// The HART link's figures: a frame encoded and decoded against copying its bytes (H1), and a
// command 0 round trip over loopback TCP against a bare echo of the same bytes (H2).
#include "Bench.h"
#include "HartServerThread.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/link/HartIpTransport.h"
#include "hart/link/HartMaster.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace orvx::bench {

namespace {

using namespace hart;

// A read-parameter answer in a HART-IP message, as the link receives hundreds of them.
Bytes parameterAnswer()
{
    Pdu pdu;
    pdu.type = FrameType::Response;
    pdu.address = Address::unique5({0x24, 0xA1, 0x0A, 0x1B, 0x00});
    pdu.command = device_command::ReadParameter;
    pdu.data = parameterReply(device::parameter::PstTravel, "12.5").value();
    HartIpHeader header;
    header.type = MessageType::Response;
    return encodeMessage(header, encodePdu(pdu).value()).value();
}

void H1_Ours(benchmark::State& state)
{
    const Bytes message = parameterAnswer();
    const HartIpMessage decoded = decodeMessage(message).value();
    const Pdu pdu = decodePdu(decoded.body).value();
    for (auto _ : state) {
        const Decoded<Bytes> frame = encodePdu(pdu);
        const Decoded<Bytes> bytes = encodeMessage(decoded.header, frame.value());
        const Decoded<HartIpMessage> back = decodeMessage(bytes.value());
        const Decoded<Pdu> answer = decodePdu(back->body);
        benchmark::DoNotOptimize(decodeParameterReply(device::parameter::PstTravel, answer->data));
    }
    state.counters["per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

// The floor: the same bytes copied out and back in, as any codec must at least.
void H1_Floor(benchmark::State& state)
{
    const Bytes message = parameterAnswer();
    Bytes out(message.size()), in(message.size());
    for (auto _ : state) {
        std::memcpy(out.data(), message.data(), message.size());
        benchmark::ClobberMemory();
        std::memcpy(in.data(), out.data(), out.size());
        benchmark::DoNotOptimize(in.data());
    }
}

void H2_Ours(benchmark::State& state)
{
    ServerThread server;
    Endpoint endpoint;
    endpoint.host = "127.0.0.1";
    endpoint.port = server.port();
    HartIpTransport transport(endpoint);
    std::string error;
    if (!transport.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    HartMaster master(transport);
    for (auto _ : state)
        benchmark::DoNotOptimize(master.identify(0));
}

// The floor: the same request and an answer of the same size, echoed by a bare TCP server.
void H2_Floor(benchmark::State& state)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    constexpr std::size_t kRequest = 13;  // a HART-IP message with command 0 to poll address 0
    constexpr std::size_t kAnswer = 27;   // and the answer with its 12-byte identity
    std::thread echo([listener] {
        const int peer = ::accept(listener, nullptr, nullptr);
        std::uint8_t buffer[64] = {};
        while (::recv(peer, buffer, kRequest, MSG_WAITALL) == static_cast<ssize_t>(kRequest))
            ::send(peer, buffer, kAnswer, MSG_NOSIGNAL);
        ::close(peer);
    });
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(client, reinterpret_cast<sockaddr*>(&address), size);
    std::uint8_t request[kRequest] = {1, 0, 3, 0, 0, 1, 0, 13, 2, 0x80, 0, 0, 0x82};
    std::uint8_t answer[kAnswer];
    for (auto _ : state) {
        ::send(client, request, kRequest, MSG_NOSIGNAL);
        benchmark::DoNotOptimize(::recv(client, answer, kAnswer, MSG_WAITALL));
    }
    ::close(client);
    echo.join();
    ::close(listener);
}

}  // namespace

void RegisterHartBenchmarks()
{
    using benchmark::RegisterBenchmark;
    Timed(RegisterBenchmark("H1/ours", H1_Ours));
    Timed(RegisterBenchmark("H1/floor", H1_Floor));
    Timed(RegisterBenchmark("H2/ours", H2_Ours))->UseRealTime();
    Timed(RegisterBenchmark("H2/floor", H2_Floor))->UseRealTime();
}

}  // namespace orvx::bench
