#pragma once

#include "hart/link/FrameTransport.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/Pdu.h"

namespace orvx::hart {

// Asks a device as a HART primary master does: a request that gets no answer, a garbled one, a
// communication error or "busy" is sent again, up to kTries times in all, and then reported.
class HartMaster {
public:
    static constexpr int kTries = 3;
    static constexpr int kAnswerTimeoutMs = 1000;
    static constexpr int kBusyPauseMs = 100;

    explicit HartMaster(IFrameTransport& transport) : m_transport(transport) {}
    // A master that gives up sooner, for a search of a loop where most addresses stay silent.
    HartMaster(IFrameTransport& transport, int tries, int answerTimeoutMs)
        : m_transport(transport), m_tries(tries), m_answerTimeoutMs(answerTimeoutMs)
    {
    }

    // Command 0 at the poll address; the device's long address is kept for every later command.
    Decoded<DeviceIdentity> identify(std::uint8_t pollAddress);
    // The device's response to a command at its long address. A response code other than
    // success, busy or a communication error is the caller's to read; a frame from another
    // device or for another command is refused.
    Decoded<Pdu> command(std::uint8_t number, const Bytes& data = {});

    const Address& address() const { return m_address; }

private:
    Decoded<Pdu> ask(const Address& address, std::uint8_t number, const Bytes& data);

    IFrameTransport& m_transport;
    int m_tries = kTries;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    Address m_address;
};

}  // namespace orvx::hart
