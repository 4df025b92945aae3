#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/PackedAscii.h"
#include "hart/protocol/ResponseCode.h"

#include <gtest/gtest.h>

namespace orvx::hart {
namespace {

TEST(PackedAscii, RefusesWhatCannotBePacked)
{
    struct Case {
        std::string text;
        std::size_t size;
        std::size_t offset;
    };
    const std::vector<Case> cases = {
        {"TAGa", 6, 3},       // lower case is not in the set
        {"A\tB", 6, 1},       // nor are control characters
        {"`", 3, 0},          // the first character past underscore
        {"NINE CHRS", 6, 8},  // longer than eight
        {"ABCD", 4, 0},       // not whole groups of three bytes
    };
    for (const Case& c : cases) {
        const Decoded<Bytes> packed = packAscii(c.text, c.size);
        ASSERT_FALSE(packed) << c.text;
        EXPECT_EQ(packed.refusal().offset, c.offset) << c.text << ": " << packed.refusal().reason;
    }
}

TEST(PackedAscii, PacksSixBitsPerCharacterAndPadsWithSpaces)
{
    EXPECT_EQ(packAscii("ABCD", 3).value(), (Bytes{0x04, 0x20, 0xC4}));
    EXPECT_EQ(packAscii("", 3).value(), (Bytes{0x82, 0x08, 0x20}));
    EXPECT_EQ(packAscii(" _@?", 3).value(), (Bytes{0x81, 0xF0, 0x3F}));
    EXPECT_EQ(unpackAscii(Bytes{0x04, 0x20, 0xC4}), "ABCD");
    EXPECT_EQ(unpackAscii(Bytes{0x81, 0xF0, 0x3F, 0x01}), " _@?");

    std::string everyCharacter;
    for (char c = 0x20; c <= 0x5F; ++c)
        everyCharacter.push_back(c);
    EXPECT_EQ(unpackAscii(packAscii(everyCharacter, 48).value()), everyCharacter);
}

DeviceIdentity positioner()
{
    DeviceIdentity identity;
    identity.expandedDeviceType = 0xE4A1;
    identity.deviceRevision = 3;
    identity.softwareRevision = 12;
    identity.hardwareRevision = 5;
    identity.physicalSignaling = 0;
    identity.flags = 0x01;
    identity.deviceId = 0x0A1B2C;
    identity.maxDeviceVariables = 4;
    identity.configurationChangeCounter = 0x0102;
    identity.manufacturerId = 0x6021;
    identity.privateLabelDistributor = 0x6021;
    identity.deviceProfile = 1;
    return identity;
}

TEST(DeviceIdentity, RefusesShortRepliesAndForeignLayouts)
{
    Bytes full = encodeIdentity(positioner()).value();
    ASSERT_EQ(full.size(), 22u);
    EXPECT_FALSE(decodeIdentity(ByteView(full).first(21)));
    EXPECT_FALSE(decodeIdentity(ByteView(full).first(11)));
    full[0] = 0;
    EXPECT_FALSE(decodeIdentity(full));

    DeviceIdentity wide = positioner();
    wide.deviceId = 0x1000000;
    EXPECT_FALSE(encodeIdentity(wide));
    wide = positioner();
    wide.hardwareRevision = 32;
    EXPECT_FALSE(encodeIdentity(wide));
}

TEST(DeviceIdentity, DecodesEveryFieldItEncodes)
{
    const Bytes data = encodeIdentity(positioner()).value();
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 12),
              (Bytes{254, 0xE4, 0xA1, 5, 7, 3, 12, 5 << 3, 0x01, 0x0A, 0x1B, 0x2C}));
    const DeviceIdentity back = decodeIdentity(data).value();
    const DeviceIdentity sent = positioner();
    EXPECT_EQ(back.expandedDeviceType, sent.expandedDeviceType);
    EXPECT_EQ(back.deviceRevision, sent.deviceRevision);
    EXPECT_EQ(back.softwareRevision, sent.softwareRevision);
    EXPECT_EQ(back.hardwareRevision, sent.hardwareRevision);
    EXPECT_EQ(back.deviceId, sent.deviceId);
    EXPECT_EQ(back.configurationChangeCounter, sent.configurationChangeCounter);
    EXPECT_EQ(back.manufacturerId, sent.manufacturerId);
    EXPECT_EQ(back.deviceProfile, sent.deviceProfile);
    EXPECT_EQ(back.longAddress().unique, (std::array<std::uint8_t, 5>{0x24, 0xA1, 0x0A, 0x1B, 0x2C}));
}

TEST(DeviceIdentity, EarlierRevisionsSendTwelveBytes)
{
    for (std::uint8_t revision : {5, 6}) {
        DeviceIdentity old = positioner();
        old.universalRevision = revision;
        const Bytes data = encodeIdentity(old).value();
        EXPECT_EQ(data.size(), 12u);
        const Decoded<DeviceIdentity> back = decodeIdentity(data);
        ASSERT_TRUE(back) << back.refusal().reason;
        EXPECT_EQ(back->deviceId, old.deviceId);
    }
}

TEST(DeviceTexts, RefusesTextsAndDatesTheFieldsCannotHold)
{
    EXPECT_FALSE(encodeTagDescriptorDate({"TOOLONGTAG", "", {1, 1, 2026}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "descriptor", {1, 1, 2026}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {29, 2, 2026}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {31, 4, 2026}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {1, 13, 2026}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {1, 1, 2156}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {1, 1, 1899}}));
    EXPECT_TRUE(encodeTagDescriptorDate({"TAG", "", {29, 2, 2024}}));
    EXPECT_TRUE(encodeTagDescriptorDate({"TAG", "", {29, 2, 2000}}));
    EXPECT_FALSE(encodeTagDescriptorDate({"TAG", "", {29, 2, 2100}}));
    EXPECT_FALSE(decodeTagDescriptorDate(Bytes(20, 0)));
    EXPECT_FALSE(encodeLongTag(std::string(33, 'x')));
    EXPECT_FALSE(encodeLongTag(std::string("a\0b", 3)));
    EXPECT_FALSE(decodeLongTag(Bytes(31, 0)));
    EXPECT_FALSE(decodeMessageText(Bytes(23, 0)));
}

TEST(DeviceTexts, ReadBackWhatWasWritten)
{
    const Bytes data = encodeTagDescriptorDate({"FV-101", "ESD INLET VALVE", {7, 12, 2026}}).value();
    ASSERT_EQ(data.size(), 21u);
    EXPECT_EQ(Bytes(data.end() - 3, data.end()), (Bytes{7, 12, 126}));
    const TagDescriptorDate back = decodeTagDescriptorDate(data).value();
    EXPECT_EQ(back.tag, "FV-101");
    EXPECT_EQ(back.descriptor, "ESD INLET VALVE");
    EXPECT_EQ(back.date.year, 2026);

    EXPECT_EQ(decodeMessageText(encodeMessageText("PST DUE 2027-01").value()).value(), "PST DUE 2027-01");
    const std::string latin1 = "Zulauf \xC4u\xDF"
                               "ere Linie";
    const Bytes longTag = encodeLongTag(latin1).value();
    EXPECT_EQ(longTag.size(), 32u);
    EXPECT_EQ(decodeLongTag(longTag).value(), latin1);
}

TEST(ResponseCode, ClassifiesAndNamesCodes)
{
    struct Case {
        std::uint8_t code;
        ResponseClass kind;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0, ResponseClass::Success, "success (0)"},
        {8, ResponseClass::Warning, "warning (8)"},
        {9, ResponseClass::Error, "command-specific error (9)"},
        {32, ResponseClass::Busy, "busy (32)"},
        {33, ResponseClass::Delayed, "delayed response initiated (33)"},
        {35, ResponseClass::Delayed, "delayed response dead (35)"},
        {36, ResponseClass::Error, "delayed response conflict (36)"},
        {64, ResponseClass::Error, "command not implemented (64)"},
        {111, ResponseClass::Warning, "warning (111)"},
        {112, ResponseClass::Error, "command-specific error (112)"},
        {0x88, ResponseClass::Communication, "communication error: check byte (0x88)"},
        {0xC2, ResponseClass::Communication, "communication error: vertical parity receive buffer overflow (0xc2)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(responseClass(c.code), c.kind) << int(c.code);
        EXPECT_EQ(responseText(c.code), c.text);
    }
}

}  // namespace
}  // namespace orvx::hart
