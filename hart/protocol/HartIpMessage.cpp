#include "hart/protocol/HartIpMessage.h"

#include "hart/protocol/Pdu.h"

#include <optional>

namespace orvx::hart {

namespace {

constexpr std::size_t kSessionInitiateSize = 5;

bool knownType(std::uint8_t type)
{
    return type <= static_cast<std::uint8_t>(MessageType::Error) || type == static_cast<std::uint8_t>(MessageType::Nak);
}

bool knownId(std::uint8_t id)
{
    return id <= static_cast<std::uint8_t>(MessageId::TokenPassingPdu);
}

// Error and NAK replies carry at most an error code; the other messages a body of their id.
std::optional<Refusal> bodyProblem(const HartIpHeader& header, ByteView body)
{
    const bool errorReply = header.type == MessageType::Error || header.type == MessageType::Nak;
    if (errorReply) {
        if (body.size() > 1)
            return refuse(kHartIpHeaderSize, "an error reply with " + std::to_string(body.size()) + " body bytes");
        return std::nullopt;
    }
    switch (header.id) {
    case MessageId::SessionInitiate:
        if (body.size() != kSessionInitiateSize)
            return refuse(kHartIpHeaderSize,
                          "a session initiate with " + std::to_string(body.size()) + " body bytes, not five");
        return std::nullopt;
    case MessageId::SessionClose:
    case MessageId::KeepAlive:
        if (!body.empty())
            return refuse(kHartIpHeaderSize, "a close or keep-alive with a body");
        return std::nullopt;
    case MessageId::TokenPassingPdu:
        if (const Decoded<Pdu> pdu = decodePdu(body); !pdu)
            return refuse(kHartIpHeaderSize + pdu.refusal().offset, "frame: " + pdu.refusal().reason);
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

Decoded<Bytes> encodeMessage(HartIpHeader header, ByteView body)
{
    if (kHartIpHeaderSize + body.size() > kMaxHartIpMessage)
        return refuse(0, "a message of " + std::to_string(kHartIpHeaderSize + body.size()) + " bytes, over " +
                             std::to_string(kMaxHartIpMessage));
    header.byteCount = static_cast<std::uint16_t>(kHartIpHeaderSize + body.size());
    Bytes message;
    message.reserve(header.byteCount);
    ByteWriter out(message);
    out.u8(header.version);
    out.u8(static_cast<std::uint8_t>(header.type));
    out.u8(static_cast<std::uint8_t>(header.id));
    out.u8(header.status);
    out.u16(header.sequence);
    out.u16(header.byteCount);
    out.bytes(body);
    return message;
}

Bytes encodeSessionInitiate(const SessionInitiate& session)
{
    Bytes body;
    ByteWriter out(body);
    out.u8(session.primaryMaster ? 1 : 0);
    out.u32(session.inactivityCloseMs);
    return body;
}

Decoded<HartIpHeader> decodeHeader(ByteView bytes)
{
    if (bytes.size() < kHartIpHeaderSize)
        return refuse(bytes.size(), "a header needs eight bytes, " + std::to_string(bytes.size()) + " arrived");
    ByteReader in(bytes);
    HartIpHeader header;
    header.version = in.u8();
    const std::uint8_t type = in.u8();
    const std::uint8_t id = in.u8();
    header.status = in.u8();
    header.sequence = in.u16();
    header.byteCount = in.u16();
    if (header.version != 1 && header.version != 2)
        return refuse(0, "version " + std::to_string(header.version) + " is not HART-IP 1 or 2");
    if (!knownType(type))
        return refuse(1, "unknown message type " + std::to_string(type));
    if (!knownId(id))
        return refuse(2, "unknown message id " + std::to_string(id));
    if (header.byteCount < kHartIpHeaderSize || header.byteCount > kMaxHartIpMessage)
        return refuse(6, "byte count " + std::to_string(header.byteCount) + " is outside 8 to " +
                             std::to_string(kMaxHartIpMessage));
    header.type = static_cast<MessageType>(type);
    header.id = static_cast<MessageId>(id);
    return header;
}

Decoded<HartIpMessage> decodeMessage(ByteView bytes)
{
    Decoded<HartIpHeader> header = decodeHeader(bytes);
    if (!header)
        return header.refusal();
    if (bytes.size() != header->byteCount)
        return refuse(std::min<std::size_t>(bytes.size(), header->byteCount),
                      "the header counts " + std::to_string(header->byteCount) + " bytes, " +
                          std::to_string(bytes.size()) + " arrived");
    const ByteView body = bytes.subspan(kHartIpHeaderSize);
    if (const std::optional<Refusal> problem = bodyProblem(header.value(), body))
        return *problem;
    return HartIpMessage{header.value(), Bytes(body.begin(), body.end())};
}

Decoded<SessionInitiate> decodeSessionInitiate(ByteView body)
{
    ByteReader in(body);
    const std::uint8_t master = in.u8();
    const std::uint32_t timer = in.u32();
    if (!in.ok() || in.remaining() != 0)
        return refuse(0, "a session initiate holds five bytes");
    if (master > 1)
        return refuse(0, "host type " + std::to_string(master) + " is neither primary (1) nor secondary (0)");
    return SessionInitiate{master == 1, timer};
}

}  // namespace orvx::hart
