#include "hart/protocol/DeviceTexts.h"

#include "hart/protocol/PackedAscii.h"

namespace orvx::hart {

namespace {

constexpr std::size_t kTagBytes = 6;
constexpr std::size_t kDescriptorBytes = 12;
constexpr std::size_t kMessageBytes = 24;
constexpr std::size_t kLongTagBytes = 32;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = kFirstYear + 255;

std::string withoutTrailing(std::string text, char pad)
{
    text.erase(text.find_last_not_of(pad) + 1);
    return text;
}

// A packed field, or the refusal naming the field.
Decoded<Bytes> packField(const char* field, const std::string& text, std::size_t size)
{
    Decoded<Bytes> packed = packAscii(text, size);
    if (!packed)
        return refuse(packed.refusal().offset, std::string(field) + ": " + packed.refusal().reason);
    return packed;
}

}  // namespace

bool HartDate::valid() const
{
    static constexpr std::uint8_t kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && !leap)
        return day <= 28;
    return day <= kDays[month - 1];
}

Decoded<Bytes> encodeTagDescriptorDate(const TagDescriptorDate& value)
{
    if (!value.date.valid())
        return refuse(kTagBytes + kDescriptorBytes, "date: not a day between 1900 and 2155");
    Decoded<Bytes> tag = packField("tag", value.tag, kTagBytes);
    if (!tag)
        return tag;
    Decoded<Bytes> descriptor = packField("descriptor", value.descriptor, kDescriptorBytes);
    if (!descriptor)
        return descriptor;
    Bytes data = std::move(tag).value();
    ByteWriter out(data);
    out.bytes(descriptor.value());
    out.u8(value.date.day);
    out.u8(value.date.month);
    out.u8(static_cast<std::uint8_t>(value.date.year - kFirstYear));
    return data;
}

Decoded<TagDescriptorDate> decodeTagDescriptorDate(ByteView data)
{
    ByteReader in(data);
    TagDescriptorDate value;
    value.tag = withoutTrailing(unpackAscii(in.bytes(kTagBytes)), ' ');
    value.descriptor = withoutTrailing(unpackAscii(in.bytes(kDescriptorBytes)), ' ');
    value.date.day = in.u8();
    value.date.month = in.u8();
    value.date.year = kFirstYear + in.u8();
    if (!in.ok())
        return refuse(data.size(),
                      "tag, descriptor and date need 21 bytes, " + std::to_string(data.size()) + " arrived");
    return value;
}

Decoded<Bytes> encodeMessageText(const std::string& message)
{
    return packField("message", message, kMessageBytes);
}

Decoded<std::string> decodeMessageText(ByteView data)
{
    if (data.size() < kMessageBytes)
        return refuse(data.size(), "a message needs 24 bytes, " + std::to_string(data.size()) + " arrived");
    return withoutTrailing(unpackAscii(data.first(kMessageBytes)), ' ');
}

Decoded<Bytes> encodeLongTag(const std::string& latin1)
{
    if (latin1.size() > kLongTagBytes)
        return refuse(kLongTagBytes, "long tag: longer than 32 characters");
    if (const std::size_t nul = latin1.find('\0'); nul != std::string::npos)
        return refuse(nul, "long tag: a NUL character ends the tag early");
    Bytes data(latin1.begin(), latin1.end());
    data.resize(kLongTagBytes, 0);
    return data;
}

Decoded<std::string> decodeLongTag(ByteView data)
{
    if (data.size() < kLongTagBytes)
        return refuse(data.size(), "a long tag needs 32 bytes, " + std::to_string(data.size()) + " arrived");
    std::string tag(data.begin(), data.begin() + kLongTagBytes);
    return tag.substr(0, tag.find('\0'));
}

}  // namespace orvx::hart
