#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvx::hart {
namespace {

// Every decoder refuses what cannot be its layout, and says so.
TEST(UniversalData, RefusesDataThatFitsNoLayout)
{
    struct Case {
        const char* name;
        std::function<Refusal(ByteView)> decode;
        Bytes data;
    };
    const auto refusal = [](auto decoded) { return decoded ? Refusal{} : decoded.refusal(); };
    const std::vector<Case> cases = {
        {"1, four bytes", [&](ByteView d) { return refusal(decodePrimaryVariable(d)); }, Bytes(4)},
        {"2, seven bytes", [&](ByteView d) { return refusal(decodeLoopCurrent(d)); }, Bytes(7)},
        {"3, current alone", [&](ByteView d) { return refusal(decodeDynamicVariables(d)); }, Bytes(4)},
        {"3, a variable cut", [&](ByteView d) { return refusal(decodeDynamicVariables(d)); }, Bytes(13)},
        {"3, five variables", [&](ByteView d) { return refusal(decodeDynamicVariables(d)); }, Bytes(29)},
        {"6, nothing", [&](ByteView d) { return refusal(decodeLoopConfiguration(d, 1)); }, Bytes{}},
        {"6, address 64", [&](ByteView d) { return refusal(decodeLoopConfiguration(d, 1)); }, Bytes{64, 1}},
        {"6, mode 2", [&](ByteView d) { return refusal(decodeLoopConfiguration(d, 1)); }, Bytes{3, 2}},
        {"7, address alone", [&](ByteView d) { return refusal(decodeLoopConfiguration(d)); }, Bytes{3}},
        {"11, five bytes", [&](ByteView d) { return refusal(decodeTagRequest(d)); }, Bytes(5)},
        {"16, two bytes", [&](ByteView d) { return refusal(decodeFinalAssemblyNumber(d)); }, Bytes(2)},
        {"38, one byte", [&](ByteView d) { return refusal(decodeConfigurationCounter(d)); }, Bytes(1)},
        {"48, five bytes", [&](ByteView d) { return refusal(decodeAdditionalStatus(d)); }, Bytes(5)},
        {"48, 26 bytes", [&](ByteView d) { return refusal(decodeAdditionalStatus(d)); }, Bytes(26)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(c.decode(c.data).reason.empty()) << c.name;
}

TEST(UniversalData, EncodersRefuseWhatTheBytesCannotHold)
{
    EXPECT_FALSE(encodeDynamicVariables({4.0f, {}}));
    EXPECT_FALSE(encodeDynamicVariables({4.0f, std::vector<UnitValue>(5)}));
    EXPECT_FALSE(encodeFinalAssemblyNumber(0x1000000));
    EXPECT_FALSE(encodeTagRequest("lower"));
    AdditionalStatus status;
    for (std::uint8_t length : {5, 26}) {
        status.length = length;
        EXPECT_FALSE(encodeAdditionalStatus(status)) << int(length);
    }
}

TEST(UniversalData, ValuesTravelAndComeBack)
{
    const UnitValue pv{unit_code::Percent, 42.5f};
    const Bytes pvBytes = encodePrimaryVariable(pv);
    EXPECT_EQ(pvBytes, (Bytes{57, 0x42, 0x2A, 0x00, 0x00}));
    EXPECT_EQ(decodePrimaryVariable(pvBytes)->value, 42.5f);

    const LoopCurrent current = decodeLoopCurrent(encodeLoopCurrent({12.0f, 50.0f})).value();
    EXPECT_EQ(current.milliamperes, 12.0f);
    EXPECT_EQ(current.percentOfRange, 50.0f);

    for (std::size_t count = 1; count <= kMaxDynamicVariables; ++count) {
        DynamicVariables values{8.0f, {}};
        for (std::size_t i = 0; i < count; ++i)
            values.variables.push_back({static_cast<std::uint8_t>(i + 6), static_cast<float>(i) + 0.5f});
        const Bytes data = encodeDynamicVariables(values).value();
        ASSERT_EQ(data.size(), 4 + 5 * count);
        const DynamicVariables back = decodeDynamicVariables(data).value();
        EXPECT_EQ(back.loopCurrent, 8.0f);
        ASSERT_EQ(back.variables.size(), count);
        EXPECT_EQ(back.variables.back().unit, count + 5);
        EXPECT_EQ(back.variables.back().value, static_cast<float>(count - 1) + 0.5f);
    }

    EXPECT_EQ(decodeFinalAssemblyNumber(encodeFinalAssemblyNumber(0xABCDEF).value()).value(), 0xABCDEFu);
    EXPECT_EQ(decodeTagRequest(encodeTagRequest("PV-101").value()).value(), "PV-101");
    EXPECT_EQ(encodeConfigurationCounter(std::nullopt), Bytes{});
    EXPECT_FALSE(decodeConfigurationCounter(Bytes{})->has_value());
    EXPECT_EQ(decodeConfigurationCounter(encodeConfigurationCounter(0x1234)).value(), 0x1234);
}

// A master older than the loop current mode sends the poll address alone.
TEST(UniversalData, LoopConfigurationFollowsTheAddressWhenTheModeIsMissing)
{
    struct Case {
        Bytes data;
        std::uint8_t address;
        bool enabled;
    } const cases[] = {
        {{0}, 0, true}, {{5}, 5, false}, {{5, 1}, 5, true}, {{0, 0}, 0, false}, {{63, 1, 0xFF}, 63, true},
    };
    for (const Case& c : cases) {
        const LoopConfiguration decoded = decodeLoopConfiguration(c.data, 1).value();
        EXPECT_EQ(decoded.pollAddress, c.address);
        EXPECT_EQ(decoded.loopCurrentEnabled, c.enabled) << int(c.data[0]);
    }
    EXPECT_EQ(encodeLoopConfiguration({9, false}), (Bytes{9, 0}));
}

TEST(UniversalData, AdditionalStatusKeepsItsLayoutAndLength)
{
    Bytes data(25);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i + 1);
    const AdditionalStatus full = decodeAdditionalStatus(data).value();
    EXPECT_EQ(full.deviceSpecific[5], 6);
    EXPECT_EQ(full.extendedDeviceStatus, 7);
    EXPECT_EQ(full.standardized0, 9);
    EXPECT_EQ(full.analogFixed, 14);
    EXPECT_EQ(full.moreDeviceSpecific[0], 15);
    EXPECT_EQ(full.moreDeviceSpecific[10], 25);
    EXPECT_EQ(encodeAdditionalStatus(full).value(), data);

    const Bytes older(data.begin(), data.begin() + 6);
    const AdditionalStatus short6 = decodeAdditionalStatus(older).value();
    EXPECT_EQ(short6.length, 6);
    EXPECT_EQ(short6.extendedDeviceStatus, 0);
    EXPECT_EQ(encodeAdditionalStatus(short6).value(), older);
}

}  // namespace
}  // namespace orvx::hart
