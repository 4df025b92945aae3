#pragma once

#include "device/Vocabulary.h"
#include "hart/protocol/Bytes.h"
#include "hart/protocol/Decoded.h"

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace orvx::hart {

// The positioner's own commands, beyond the universal ones: every parameter, method and
// notification of the device vocabulary travels through these five, a parameter named by its tag
// number, so that a tag added to the vocabulary is served without a line here.
// docs/hart-command-set.md gives the bytes of each.
namespace device_command {
constexpr std::uint8_t ReadParameter = 128;
constexpr std::uint8_t WriteParameter = 129;
constexpr std::uint8_t StartMethod = 130;
constexpr std::uint8_t ReadNotifications = 131;
constexpr std::uint8_t ReadCurveSegment = 132;
}  // namespace device_command

// Whether a command only reads: the universal reads and the positioner's reads of parameters,
// notifications and curves. Every other command, one unknown here too, may change the device.
bool onlyReads(std::uint8_t command);
// The expanded device type the positioner gives in command 0: a device of another type has
// other commands from 128 on, or none.
constexpr std::uint16_t kPositionerDeviceType = 0xE4A1;

// The tag number a parameter travels under: its tag, which the vocabulary keeps stable.
std::uint16_t tagNumber(const device::Parameter& parameter);
// The parameter behind a tag number read from `in`, refused when the vocabulary has none.
Decoded<const device::Parameter*> readTag(ByteReader& in);

// Commands 128 and 129: the request, and the reply of both (the tag and the value the device
// holds now). A reply naming another parameter than the one asked for is refused.
Bytes readParameterRequest(const device::Parameter& parameter);
Decoded<Bytes> writeParameterRequest(const device::Parameter& parameter, std::string_view text);
Decoded<Bytes> parameterReply(const device::Parameter& parameter, std::string_view text);
Decoded<std::string> decodeParameterReply(const device::Parameter& expected, ByteView data);

// Command 130: the method's number, in the request and its reply.
Bytes startMethodRequest(int method);
Decoded<const device::Method*> decodeMethod(ByteView data);

// Command 131: what the device announced, in order. Each notification has a sequence number
// that wraps at 65536; a master asks from the next it has not seen and gets as many as one
// reply holds.
struct DeviceNotification {
    std::uint16_t sequence = 0;
    std::int32_t code = 0;
    std::string value;  // UTF-8, at most kMaxTextBytes; longer values are cut
};
Bytes readNotificationsRequest(std::uint16_t from);
Decoded<std::uint16_t> decodeNotificationsRequest(ByteView data);
// As many of `notifications` (consecutive sequence numbers) as fit one reply.
Bytes notificationsReply(std::span<const DeviceNotification> notifications, std::uint16_t nextSequence);
struct NotificationBatch {
    std::vector<DeviceNotification> notifications;
    std::uint16_t nextSequence = 0;  // the device's next sequence number: ask from here
};
Decoded<NotificationBatch> decodeNotificationsReply(ByteView data);

// Command 132: a stretch of a curve parameter, pairs of pressure and position as singles.
struct CurvePoint {
    float pressure;
    float position;
};
struct CurveSegment {
    std::uint16_t total = 0;  // pairs in the whole curve
    std::uint16_t first = 0;  // the first pair here
    std::vector<CurvePoint> points;
};
constexpr std::size_t kCurvePointsPerReply = 30;
Bytes curveSegmentRequest(const device::Parameter& curve, std::uint16_t first);
Bytes curveSegmentReply(const device::Parameter& curve, const CurveSegment& segment);
Decoded<CurveSegment> decodeCurveSegmentReply(const device::Parameter& expected, ByteView data);
// A curve's text as its points and back: "pressure@position@...".
Decoded<std::vector<CurvePoint>> curvePoints(std::string_view text);
std::string curveText(std::span<const CurvePoint> points);

}  // namespace orvx::hart
