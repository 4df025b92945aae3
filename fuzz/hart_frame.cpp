// HART-IP messages and token-passing frames from the network or a modem: every input is taken or
// refused with a reason, never read past its end, and whatever is taken encodes back to the same
// bytes. The universal command replies and the positioner's own inside are decoded too.
#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/MessageStream.h"
#include "hart/protocol/Pdu.h"
#include "hart/protocol/SerialFrameReader.h"

#include <cstdlib>

using namespace orvx::hart;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The positioner's own replies: a value read back encodes to the bytes it came from.
void checkDeviceReplies(ByteView data)
{
    for (const orvx::device::Parameter* parameter : orvx::device::parameters()) {
        const Decoded<std::string> value = decodeParameterReply(*parameter, data);
        if (value && parameter->type != orvx::device::ValueType::Decimal) {
            const Decoded<Bytes> again = parameterReply(*parameter, value.value());
            require(again && again.value() == Bytes(data.begin(), data.begin() + again->size()));
        }
        (void)decodeCurveSegmentReply(*parameter, data);
    }
    (void)decodeNotificationsReply(data);
    (void)decodeMethod(data);
    (void)curvePoints(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

// A frame taken must be the frame encodePdu writes for what was read, preambles aside.
void checkFrame(ByteView bytes)
{
    const Decoded<Pdu> pdu = decodePdu(bytes);
    if (!pdu) {
        require(!pdu.refusal().reason.empty() && pdu.refusal().offset <= bytes.size());
        return;
    }
    require(pduLength(bytes) == bytes.size());
    std::size_t preambles = 0;
    while (bytes[preambles] == 0xFF)
        ++preambles;
    const Decoded<Bytes> again = encodePdu(pdu.value(), preambles);
    require(again && again.value() == Bytes(bytes.begin(), bytes.end()));
    (void)decodeIdentity(pdu->data);
    (void)decodeTagDescriptorDate(pdu->data);
    (void)decodeMessageText(pdu->data);
    (void)decodeLongTag(pdu->data);
    checkDeviceReplies(pdu->data);
}

void checkMessage(ByteView bytes)
{
    const Decoded<HartIpMessage> message = decodeMessage(bytes);
    if (!message) {
        require(!message.refusal().reason.empty() && message.refusal().offset <= bytes.size());
        return;
    }
    const Decoded<Bytes> again = encodeMessage(message->header, message->body);
    require(again && again.value() == Bytes(bytes.begin(), bytes.end()));
    if (message->header.id == MessageId::SessionInitiate)
        (void)decodeSessionInitiate(message->body);
}

// The same bytes through the TCP reader in pieces cut at the first byte's value.
void checkStream(ByteView bytes, std::size_t piece)
{
    MessageStream stream;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        stream.append(bytes.subspan(at, std::min(piece, bytes.size() - at)));
        while (auto next = stream.next())
            require(static_cast<bool>(*next) || !next->refusal().reason.empty());
        require(stream.buffered() <= kMaxHartIpMessage + piece);
    }
}

// The same bytes heard on a serial line: every frame handed on begins with the preambles a frame
// needs and is as long as its byte count says, and the reader never holds more than one frame.
void checkSerial(ByteView bytes, std::size_t piece)
{
    SerialFrameReader reader;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.append(bytes.subspan(at, std::min(piece, bytes.size() - at)), at);
        while (const std::optional<Bytes> frame = reader.next()) {
            require(frame->size() >= SerialFrameReader::kMinPreambles + 1 && (*frame)[0] == 0xFF &&
                    (*frame)[1] == 0xFF);
            require(pduLength(*frame) == frame->size());
        }
        require(reader.buffered() <= kMaxPreambles + 9 + 255 + 1 + piece);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const ByteView bytes(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0: checkFrame(bytes); break;
    case 1: checkMessage(bytes); break;
    default:
        checkStream(bytes, 1 + data[0] / 3 % 16);
        checkSerial(bytes, 1 + data[0] / 3 % 16);
        break;
    }
    return 0;
}
