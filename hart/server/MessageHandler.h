#pragma once

#include "hart/protocol/HartIpMessage.h"
#include "hart/server/DeviceResponder.h"
#include "hart/server/SessionTable.h"

#include <optional>
#include <string>

namespace orvx::hart {

// What the server does with one message from a peer, whatever carried it: the reply to send,
// if any, and whether the peer's session (and a TCP connection) ends.
struct Reply {
    std::optional<Bytes> bytes;
    bool closeSession = false;
};

// HART-IP error codes a server sends in an error or NAK reply.
namespace hartip_error {
constexpr std::uint8_t SessionClosed = 0;
constexpr std::uint8_t ServiceUnavailable = 2;
}  // namespace hartip_error

class MessageHandler {
public:
    MessageHandler(SessionTable& sessions, DeviceResponder& responder) : m_sessions(sessions), m_responder(responder) {}

    Reply handle(const std::string& peer, const HartIpMessage& message, std::uint64_t nowMs);

private:
    Reply initiate(const std::string& peer, const HartIpMessage& message, std::uint64_t nowMs);
    Reply tokenPassing(const HartIpMessage& message);

    SessionTable& m_sessions;
    DeviceResponder& m_responder;
};

}  // namespace orvx::hart
