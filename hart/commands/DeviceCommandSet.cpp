#include "hart/commands/DeviceCommandSet.h"

#include "hart/commands/ValueCodec.h"
#include "hart/protocol/Pdu.h"
#include "hart/protocol/UniversalCommands.h"

#include <algorithm>
#include <charconv>

namespace orvx::hart {

namespace {

constexpr std::size_t kNotificationHead = 3;   // next sequence, count
constexpr std::size_t kNotificationFixed = 7;  // sequence, code, length of the value
constexpr std::size_t kCurveHead = 7;          // tag, total, first, count

template <class T>
Decoded<T> cutShort(const ByteReader& in, const char* what)
{
    return refuse(in.offset(), std::string(what) + " is cut short");
}

bool number(std::string_view text, float& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::uint16_t tagNumber(const device::Parameter& parameter)
{
    std::uint16_t number = 0;
    std::from_chars(parameter.tag.data(), parameter.tag.data() + parameter.tag.size(), number);
    return number;
}

Decoded<const device::Parameter*> readTag(ByteReader& in)
{
    const std::size_t at = in.offset();
    const std::uint16_t number = in.u16();
    if (!in.ok())
        return cutShort<const device::Parameter*>(in, "the tag");
    const device::Parameter* parameter = device::findParameter(std::to_string(number));
    if (!parameter)
        return refuse(at, "no parameter has tag " + std::to_string(number));
    return parameter;
}

Bytes readParameterRequest(const device::Parameter& parameter)
{
    Bytes data;
    ByteWriter(data).u16(tagNumber(parameter));
    return data;
}

Decoded<Bytes> writeParameterRequest(const device::Parameter& parameter, std::string_view text)
{
    return parameterReply(parameter, text);
}

Decoded<Bytes> parameterReply(const device::Parameter& parameter, std::string_view text)
{
    Decoded<Bytes> value = encodeValue(parameter, text);
    if (!value)
        return refuse(2 + value.refusal().offset, std::string(parameter.name) + ": " + value.refusal().reason);
    Bytes data = readParameterRequest(parameter);
    ByteWriter(data).bytes(value.value());
    return data;
}

Decoded<std::string> decodeParameterReply(const device::Parameter& expected, ByteView data)
{
    ByteReader in(data);
    const Decoded<const device::Parameter*> parameter = readTag(in);
    if (!parameter)
        return parameter.refusal();
    if (*parameter.value() != expected)
        return refuse(0, "the reply is about tag " + std::string(parameter.value()->tag) + ", not " +
                             std::string(expected.tag));
    return decodeValue(expected, in);
}

Bytes startMethodRequest(int method)
{
    return Bytes{static_cast<std::uint8_t>(method)};
}

Decoded<const device::Method*> decodeMethod(ByteView data)
{
    if (data.empty())
        return refuse(0, "no method number");
    const device::Method* method = device::findMethod(data[0]);
    if (!method)
        return refuse(0, "no method has number " + std::to_string(data[0]));
    return method;
}

Bytes readNotificationsRequest(std::uint16_t from)
{
    Bytes data;
    ByteWriter(data).u16(from);
    return data;
}

Decoded<std::uint16_t> decodeNotificationsRequest(ByteView data)
{
    ByteReader in(data);
    const std::uint16_t from = in.u16();
    if (!in.ok())
        return cutShort<std::uint16_t>(in, "the sequence number");
    return from;
}

Bytes notificationsReply(std::span<const DeviceNotification> notifications, std::uint16_t nextSequence)
{
    Bytes data;
    ByteWriter out(data);
    out.u16(nextSequence);
    out.u8(0);
    std::uint8_t count = 0;
    for (const DeviceNotification& n : notifications) {
        const std::size_t length = std::min(n.value.size(), kMaxTextBytes);
        if (data.size() + kNotificationFixed + length > kMaxResponseData)
            break;
        out.u16(n.sequence);
        out.u32(static_cast<std::uint32_t>(n.code));
        out.u8(static_cast<std::uint8_t>(length));
        out.bytes(ByteView(reinterpret_cast<const std::uint8_t*>(n.value.data()), length));
        ++count;
    }
    data[kNotificationHead - 1] = count;
    return data;
}

Decoded<NotificationBatch> decodeNotificationsReply(ByteView data)
{
    ByteReader in(data);
    NotificationBatch batch;
    batch.nextSequence = in.u16();
    const std::uint8_t count = in.u8();
    for (std::uint8_t i = 0; i < count && in.ok(); ++i) {
        DeviceNotification n;
        n.sequence = in.u16();
        n.code = static_cast<std::int32_t>(in.u32());
        const ByteView value = in.bytes(in.u8());
        n.value.assign(value.begin(), value.end());
        batch.notifications.push_back(std::move(n));
    }
    if (!in.ok())
        return cutShort<NotificationBatch>(in, "the notifications");
    return batch;
}

Bytes curveSegmentRequest(const device::Parameter& curve, std::uint16_t first)
{
    Bytes data = readParameterRequest(curve);
    ByteWriter(data).u16(first);
    return data;
}

Bytes curveSegmentReply(const device::Parameter& curve, const CurveSegment& segment)
{
    Bytes data = readParameterRequest(curve);
    ByteWriter out(data);
    out.u16(segment.total);
    out.u16(segment.first);
    const std::size_t count = std::min(segment.points.size(), kCurvePointsPerReply);
    out.u8(static_cast<std::uint8_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        out.f32(segment.points[i].pressure);
        out.f32(segment.points[i].position);
    }
    return data;
}

Decoded<CurveSegment> decodeCurveSegmentReply(const device::Parameter& expected, ByteView data)
{
    ByteReader in(data);
    const Decoded<const device::Parameter*> parameter = readTag(in);
    if (!parameter)
        return parameter.refusal();
    if (*parameter.value() != expected || expected.type != device::ValueType::Curve)
        return refuse(0, "the reply is about tag " + std::string(parameter.value()->tag));
    CurveSegment segment;
    segment.total = in.u16();
    segment.first = in.u16();
    const std::uint8_t count = in.u8();
    if (count > kCurvePointsPerReply || segment.first + count > segment.total)
        return refuse(kCurveHead - 1, "a segment of " + std::to_string(count) + " points from " +
                                          std::to_string(segment.first) + " in a curve of " +
                                          std::to_string(segment.total));
    for (std::uint8_t i = 0; i < count; ++i) {
        const float pressure = in.f32();
        segment.points.push_back({pressure, in.f32()});
    }
    if (!in.ok())
        return cutShort<CurveSegment>(in, "the curve segment");
    return segment;
}

Decoded<std::vector<CurvePoint>> curvePoints(std::string_view text)
{
    std::vector<CurvePoint> points;
    if (!text.empty() && text.back() == '@')
        return refuse(text.size() - 1, "a curve ends in '@'");
    std::size_t at = 0;
    while (at < text.size()) {
        float values[2] = {};
        for (float& value : values) {
            if (at > text.size())
                return refuse(text.size(), "a position without its pressure");
            const std::size_t end = std::min(text.find('@', at), text.size());
            if (!number(text.substr(at, end - at), value))
                return refuse(at, "not pairs of numbers joined by '@'");
            at = end + 1;
        }
        points.push_back({values[0], values[1]});
    }
    return points;
}

std::string curveText(std::span<const CurvePoint> points)
{
    std::string text;
    for (const CurvePoint& point : points) {
        if (!text.empty())
            text += '@';
        text += singleText(point.pressure) + '@' + singleText(point.position);
    }
    return text;
}

bool onlyReads(std::uint8_t command)
{
    using namespace universal_command;
    constexpr std::uint8_t kReads[] = {ReadUniqueIdentifier,
                                       ReadPrimaryVariable,
                                       ReadLoopCurrentAndPercent,
                                       ReadDynamicVariables,
                                       ReadLoopConfiguration,
                                       ReadUniqueIdentifierByTag,
                                       ReadMessage,
                                       ReadTagDescriptorDate,
                                       ReadFinalAssemblyNumber,
                                       ReadLongTag,
                                       ReadAdditionalStatus,
                                       device_command::ReadParameter,
                                       device_command::ReadNotifications,
                                       device_command::ReadCurveSegment};
    return std::ranges::find(kReads, command) != std::end(kReads);
}

}  // namespace orvx::hart
