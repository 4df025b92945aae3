#include "hart/server/MessageHandler.h"

#include "hart/protocol/Pdu.h"

namespace orvx::hart {

namespace {

Bytes replyTo(const HartIpHeader& request, MessageType type, std::uint8_t status, ByteView body)
{
    HartIpHeader header;
    header.version = request.version;
    header.type = type;
    header.id = request.id;
    header.status = status;
    header.sequence = request.sequence;
    return encodeMessage(header, body).value();  // every body here is far below the limit
}

Bytes errorReply(const HartIpHeader& request, std::uint8_t code)
{
    const Bytes body{code};
    return replyTo(request, MessageType::Nak, code, body);
}

}  // namespace

Reply MessageHandler::handle(const std::string& peer, const HartIpMessage& message, std::uint64_t nowMs)
{
    if (message.header.type != MessageType::Request)
        return {};  // a client sends requests only; anything else is ignored
    if (message.header.id == MessageId::SessionInitiate)
        return initiate(peer, message, nowMs);
    if (!m_sessions.touch(peer, nowMs))
        return {errorReply(message.header, hartip_error::SessionClosed), true};
    switch (message.header.id) {
    case MessageId::SessionClose:
        m_sessions.close(peer);
        return {replyTo(message.header, MessageType::Response, 0, {}), true};
    case MessageId::KeepAlive: return {replyTo(message.header, MessageType::Response, 0, {}), false};
    default: return tokenPassing(message);
    }
}

Reply MessageHandler::initiate(const std::string& peer, const HartIpMessage& message, std::uint64_t nowMs)
{
    const Decoded<SessionInitiate> asked = decodeSessionInitiate(message.body);
    if (!asked)
        return {};
    SessionInitiate granted = asked.value();
    if (m_sessions.open(peer, nowMs, granted.inactivityCloseMs) == SessionTable::Opened::Full)
        return {errorReply(message.header, hartip_error::ServiceUnavailable), true};
    // Status 8 says the timer was set to the nearest value the server grants.
    const std::uint8_t status = granted.inactivityCloseMs == asked->inactivityCloseMs ? 0 : 8;
    return {replyTo(message.header, MessageType::Response, status, encodeSessionInitiate(granted)), false};
}

Reply MessageHandler::tokenPassing(const HartIpMessage& message)
{
    const std::optional<Pdu> response = m_responder.respond(decodePdu(message.body).value());
    if (!response)
        return {};
    Decoded<Bytes> frame = encodePdu(*response);
    if (!frame)
        return {};
    return {replyTo(message.header, MessageType::Response, 0, frame.value()), false};
}

}  // namespace orvx::hart
