#include "hart/link/HartMaster.h"

#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"

#include <chrono>
#include <thread>

namespace orvx::hart {

Decoded<DeviceIdentity> HartMaster::identify(std::uint8_t pollAddress)
{
    const Decoded<Pdu> reply = ask(Address::poll(pollAddress), universal_command::ReadUniqueIdentifier, {});
    if (!reply)
        return reply.refusal();
    if (reply->responseCode != response::Success)
        return refuse(0, "the device answered command 0 with " + responseText(reply->responseCode));
    Decoded<DeviceIdentity> identity = decodeIdentity(reply->data);
    if (identity)
        m_address = identity->longAddress();
    return identity;
}

Decoded<Pdu> HartMaster::command(std::uint8_t number, const Bytes& data)
{
    return ask(m_address, number, data);
}

Decoded<Pdu> HartMaster::ask(const Address& address, std::uint8_t number, const Bytes& data)
{
    Pdu request;
    request.address = address;
    request.command = number;
    request.data = data;
    const Decoded<Bytes> frame = encodePdu(request);
    if (!frame)
        return frame.refusal();
    Refusal last = refuse(0, "not connected");  // what stands when the transport is closed
    for (int attempt = 0; attempt < m_tries && m_transport.isOpen(); ++attempt) {
        const Decoded<Bytes> answer = m_transport.exchange(frame.value(), m_answerTimeoutMs);
        if (!answer) {
            last = answer.refusal();
            continue;
        }
        Decoded<Pdu> reply = decodePdu(answer.value());
        if (!reply) {
            last = refuse(reply.refusal().offset, "a garbled answer: " + reply.refusal().reason);
            continue;
        }
        if (reply->type != FrameType::Response || reply->command != number || !reply->address.sameDevice(address)) {
            last = refuse(0, "an answer from another device or to another command");
            continue;
        }
        const ResponseClass kind = responseClass(reply->responseCode);
        if (kind == ResponseClass::Communication || kind == ResponseClass::Busy) {
            last = refuse(0, "the device answered " + responseText(reply->responseCode));
            if (kind == ResponseClass::Busy)
                std::this_thread::sleep_for(std::chrono::milliseconds(kBusyPauseMs));
            continue;
        }
        return reply;
    }
    return refuse(last.offset, "command " + std::to_string(number) + ": " + last.reason);
}

}  // namespace orvx::hart
