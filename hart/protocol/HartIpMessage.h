#pragma once

#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <cstdint>

namespace orvx::hart {

enum class MessageType : std::uint8_t {
    Request = 0,
    Response = 1,
    Publish = 2,  // burst values a device sends unasked
    Error = 3,
    Nak = 15,
};

enum class MessageId : std::uint8_t {
    SessionInitiate = 0,
    SessionClose = 1,
    KeepAlive = 2,
    TokenPassingPdu = 3,
};

// The eight bytes before every HART-IP message. The byte count counts the header too.
struct HartIpHeader {
    std::uint8_t version = 1;
    MessageType type = MessageType::Request;
    MessageId id = MessageId::TokenPassingPdu;
    std::uint8_t status = 0;  // a response's status: 0 success, otherwise a HART-IP error code
    std::uint16_t sequence = 0;
    std::uint16_t byteCount = 0;
};

struct HartIpMessage {
    HartIpHeader header;
    Bytes body;  // a token-passing frame for TokenPassingPdu, five bytes for SessionInitiate
};

constexpr std::size_t kHartIpHeaderSize = 8;
// Largest message either end accepts: a token-passing frame of 255 data bytes with a long
// address, its expansion bytes and a few preambles fits with room to spare. Longer is refused
// before anything is allocated for it.
constexpr std::size_t kMaxHartIpMessage = 512;
constexpr std::uint16_t kHartIpPort = 5094;

// The body of a session initiate, request and response alike.
struct SessionInitiate {
    bool primaryMaster = true;
    std::uint32_t inactivityCloseMs = 60000;
};

// The message's bytes; the header's byte count is set from the body. Refused when the body
// would make the message longer than kMaxHartIpMessage.
Decoded<Bytes> encodeMessage(HartIpHeader header, ByteView body);
Bytes encodeSessionInitiate(const SessionInitiate& session);

// The header at the front of `bytes`, checked on its own (a stream reader has nothing more yet):
// refused when shorter than eight bytes, of a version other than 1 or 2, of an unknown type or
// id, or with a byte count under eight or over kMaxHartIpMessage.
Decoded<HartIpHeader> decodeHeader(ByteView bytes);

// One whole message, exactly as many bytes as its header counts. Beyond the header's checks the
// body must fit its id: a session initiate holds five bytes (none in an error reply), a close or
// keep-alive none, and a token-passing message a frame that decodePdu accepts.
Decoded<HartIpMessage> decodeMessage(ByteView bytes);
Decoded<SessionInitiate> decodeSessionInitiate(ByteView body);

}  // namespace orvx::hart
