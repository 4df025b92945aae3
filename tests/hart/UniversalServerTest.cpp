#include "device/Vocabulary.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"
#include "hart/server/DeviceResponder.h"
#include "hart/server/OtherMakeDevice.h"
#include "hart/server/PositionerDevice.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

namespace orvx::hart {
namespace {

namespace p = device::parameter;
namespace uc = universal_command;

std::vector<std::unique_ptr<IServedDevice>> positionerAt(std::uint8_t poll)
{
    std::vector<std::unique_ptr<IServedDevice>> devices;
    devices.push_back(std::make_unique<PositionerDevice>(poll, 0x0A1B2C));
    return devices;
}

// One positioner at poll address 0, asked frame by frame as the server would.
class UniversalCommands : public ::testing::Test {
protected:
    void SetUp() override { m_responder.advance(m_now); }
    std::optional<Pdu> send(const Address& address, std::uint8_t command, const Bytes& data = {})
    {
        Pdu request;
        request.address = address;
        request.command = command;
        request.data = data;
        return m_responder.respond(request);
    }
    Pdu ask(std::uint8_t command, const Bytes& data = {})
    {
        const std::optional<Pdu> reply = send(m_address, command, data);
        EXPECT_TRUE(reply.has_value()) << "command " << int(command);
        return reply.value_or(Pdu{});
    }
    std::string read(const device::Parameter& parameter)
    {
        return decodeParameterReply(parameter, ask(device_command::ReadParameter, readParameterRequest(parameter)).data)
            .value();
    }
    void set(const device::Parameter& parameter, const char* text)
    {
        std::uint32_t word = 0;
        positioner().SetParameter(com::BStr::fromUtf8(std::string(parameter.tag)),
                                  com::Variant::text(com::BStr::fromUtf8(text)), &word);
    }
    simulator::SimulatedPositioner& positioner()
    {
        return static_cast<PositionerDevice&>(m_responder.device(0)).positioner();
    }
    void runFor(std::uint64_t ms)
    {
        m_now += ms;
        m_responder.advance(m_now);
    }

    DeviceResponder m_responder{positionerAt(0)};
    std::uint64_t m_now = 1000;
    Address m_address = m_responder.device(0).identity().longAddress();
};

TEST_F(UniversalCommands, ACommandThePositionerLacksIsNotImplemented)
{
    for (std::uint8_t command : {4, 5, 8, 9, 14, 15, 20, 21, 22, 33, 35, 44, 50, 127, 133, 200}) {
        const Pdu reply = ask(command);
        EXPECT_EQ(reply.responseCode, response::NotImplemented) << int(command);
        EXPECT_TRUE(reply.data.empty()) << int(command);
    }
}

// A device of another make: its own kind in command 0, the universal commands answered, every
// command from 128 on not implemented.
TEST(OtherMakeDevice, AnswersTheUniversalCommandsOnly)
{
    std::vector<std::unique_ptr<IServedDevice>> devices;
    devices.push_back(std::make_unique<OtherMakeDevice>(0, 0x0A1B2C));
    DeviceResponder responder(std::move(devices));
    responder.advance(1000);
    const auto ask = [&](const Address& address, std::uint8_t command) {
        Pdu request;
        request.address = address;
        request.command = command;
        return responder.respond(request).value_or(Pdu{});
    };
    const DeviceIdentity identity = decodeIdentity(ask(Address::poll(0), uc::ReadUniqueIdentifier).data).value();
    EXPECT_EQ(identity.expandedDeviceType, OtherMakeDevice::kExpandedDeviceType);
    EXPECT_NE(identity.expandedDeviceType, kPositionerDeviceType);
    const Address address = identity.longAddress();
    EXPECT_EQ(ask(address, uc::ReadMessage).responseCode, response::Success);
    EXPECT_EQ(ask(address, uc::ReadDynamicVariables).responseCode, response::Success);
    for (std::uint8_t command = device_command::ReadParameter; command <= device_command::ReadCurveSegment; ++command)
        EXPECT_EQ(ask(address, command).responseCode, response::NotImplemented) << int(command);
}

TEST_F(UniversalCommands, VariablesComeFromThePositionAndTheLoop)
{
    positioner().SetInputSignal(12.0);
    runFor(20000);  // normal mode: the valve follows the loop to 50 %
    const float position = std::stof(read(p::Position));
    ASSERT_NEAR(position, 50.0f, 1.0f);

    const UnitValue pv = decodePrimaryVariable(ask(uc::ReadPrimaryVariable).data).value();
    EXPECT_EQ(pv.unit, unit_code::Percent);
    EXPECT_FLOAT_EQ(pv.value, position);
    const LoopCurrent loop = decodeLoopCurrent(ask(uc::ReadLoopCurrentAndPercent).data).value();
    EXPECT_FLOAT_EQ(loop.milliamperes, 12.0f);
    EXPECT_FLOAT_EQ(loop.percentOfRange, 50.0f);

    ASSERT_EQ(ask(device_command::WriteParameter, writeParameterRequest(p::PressureUnit, "7").value()).responseCode,
              response::Success);
    const DynamicVariables all = decodeDynamicVariables(ask(uc::ReadDynamicVariables).data).value();
    EXPECT_FLOAT_EQ(all.loopCurrent, 12.0f);
    ASSERT_EQ(all.variables.size(), 4u);
    const std::uint8_t units[] = {unit_code::Percent, unit_code::Percent, unit_code::Bar, unit_code::Bar};
    const float values[] = {position, 50.0f, std::stof(read(p::Pressure)), std::stof(read(p::SupplyPressure))};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(all.variables[i].unit, units[i]) << i;
        EXPECT_FLOAT_EQ(all.variables[i].value, values[i]) << i;
    }
}

// Command 6 refuses what the device cannot take and changes nothing then; what it takes moves
// command 0 to the new address at once and raises "configuration changed" until command 38.
TEST_F(UniversalCommands, PollAddressMovesWithCommandSixAndOnlyWithinItsRange)
{
    struct Case {
        Bytes data;
        std::uint8_t code;
    } const refused[] = {
        {{}, response::TooFewDataBytes},
        {{16, 0}, response::TooLarge},
        {{64}, response::TooLarge},
        {{3, 2}, response::InvalidModeSelection},
    };
    for (const Case& c : refused) {
        const Pdu reply = ask(uc::WritePollingAddress, c.data);
        EXPECT_EQ(reply.responseCode, c.code) << c.data.size();
        EXPECT_EQ(reply.deviceStatus & device_status::ConfigurationChanged, 0);
    }
    EXPECT_EQ(decodeLoopConfiguration(ask(uc::ReadLoopConfiguration).data)->pollAddress, 0);
    EXPECT_EQ(read(p::PollingAddress), "0");

    const Pdu moved = ask(uc::WritePollingAddress, {15, 0});
    ASSERT_EQ(moved.responseCode, response::Success);
    EXPECT_EQ(moved.data, (Bytes{15, 0}));
    EXPECT_TRUE(moved.deviceStatus & device_status::ConfigurationChanged);
    EXPECT_FALSE(send(Address::poll(0), uc::ReadUniqueIdentifier));
    const std::optional<Pdu> found = send(Address::poll(15), uc::ReadUniqueIdentifier);
    ASSERT_TRUE(found);
    EXPECT_EQ(decodeIdentity(found->data)->deviceId, 0x0A1B2Cu);
    const LoopConfiguration loop = decodeLoopConfiguration(ask(uc::ReadLoopConfiguration).data).value();
    EXPECT_EQ(loop.pollAddress, 15);
    EXPECT_FALSE(loop.loopCurrentEnabled);
    EXPECT_EQ(read(p::PollingAddress), "15");

    EXPECT_EQ(ask(uc::ResetConfigurationChanged, {0x00}).responseCode, response::TooFewDataBytes);
    EXPECT_EQ(ask(uc::ResetConfigurationChanged, {0x00, 0x07}).responseCode, response::CounterMismatch);
    EXPECT_TRUE(ask(uc::ReadMessage).deviceStatus & device_status::ConfigurationChanged);
    EXPECT_EQ(ask(uc::ResetConfigurationChanged, {0x00, 0x01}).responseCode, response::Success);
    EXPECT_EQ(ask(uc::ReadMessage).deviceStatus & device_status::ConfigurationChanged, 0);
}

// As on the device, a write of PollingAddress is kept until the method that stores it runs.
TEST_F(UniversalCommands, PollAddressWrittenByTagMovesWithItsMethod)
{
    ASSERT_EQ(ask(device_command::WriteParameter, writeParameterRequest(p::PollingAddress, "4").value()).responseCode,
              response::Success);
    EXPECT_TRUE(send(Address::poll(0), uc::ReadUniqueIdentifier));
    ASSERT_EQ(ask(device_command::StartMethod, startMethodRequest(device::method::WritePollingAddress)).responseCode,
              response::Success);
    EXPECT_FALSE(send(Address::poll(0), uc::ReadUniqueIdentifier));
    EXPECT_TRUE(send(Address::poll(4), uc::ReadUniqueIdentifier));
}

TEST_F(UniversalCommands, TagDescriptorDateAndAssemblyNumberAreWrittenAndReadBack)
{
    Bytes badBytes = encodeTagDescriptorDate({"FV-7", "FEED", HartDate{28, 2, 2025}}).value();
    badBytes[18] = 30;
    const struct {
        std::uint8_t command;
        Bytes data;
        std::uint8_t code;
    } refused[] = {
        {uc::WriteTagDescriptorDate, Bytes(20), response::TooFewDataBytes},
        {uc::WriteTagDescriptorDate, badBytes, response::InvalidSelection},
        {uc::WriteFinalAssemblyNumber, Bytes(2), response::TooFewDataBytes},
        {uc::WriteMessage, Bytes(23), response::TooFewDataBytes},
    };
    for (const auto& r : refused)
        EXPECT_EQ(ask(r.command, r.data).responseCode, r.code) << int(r.command);
    EXPECT_EQ(decodeTagDescriptorDate(ask(uc::ReadTagDescriptorDate).data)->tag, "PV-101");
    EXPECT_EQ(ask(uc::ReadMessage).deviceStatus & device_status::ConfigurationChanged, 0);

    const Bytes written = encodeTagDescriptorDate({"FV-7", "FEED LINE", HartDate{29, 2, 2024}}).value();
    EXPECT_EQ(ask(uc::WriteTagDescriptorDate, written).data, written);
    const TagDescriptorDate back = decodeTagDescriptorDate(ask(uc::ReadTagDescriptorDate).data).value();
    EXPECT_EQ(back.tag, "FV-7");
    EXPECT_EQ(back.descriptor, "FEED LINE");
    EXPECT_EQ(back.date.day, 29);
    EXPECT_EQ(back.date.year, 2024);
    EXPECT_EQ(read(p::ConfiguredTag), "FV-7");

    EXPECT_EQ(ask(uc::WriteFinalAssemblyNumber, {0x01, 0x02, 0x03}).data, (Bytes{0x01, 0x02, 0x03}));
    EXPECT_EQ(decodeFinalAssemblyNumber(ask(uc::ReadFinalAssemblyNumber).data).value(), 0x010203u);

    positioner().SetFault(simulator::SimulatedFault::RefusesWrites, true);
    EXPECT_EQ(ask(uc::WriteFinalAssemblyNumber, {0, 0, 9}).responseCode, response::DeviceSpecificError);
    EXPECT_EQ(decodeFinalAssemblyNumber(ask(uc::ReadFinalAssemblyNumber).data).value(), 0x010203u);
}

// Command 11 at the broadcast address finds the device by its tag; another tag gets silence.
TEST_F(UniversalCommands, OnlyTheDeviceWithTheTagAnswersCommandEleven)
{
    const Address broadcast = Address::unique5({});
    EXPECT_FALSE(send(broadcast, uc::ReadUniqueIdentifierByTag, encodeTagRequest("FV-8").value()));
    EXPECT_FALSE(send(broadcast, uc::ReadUniqueIdentifierByTag, {0x01}));
    EXPECT_FALSE(send(m_address, uc::ReadUniqueIdentifierByTag, encodeTagRequest("FV-8").value()));
    EXPECT_FALSE(send(broadcast, uc::ReadMessage));
    const std::optional<Pdu> found = send(broadcast, uc::ReadUniqueIdentifierByTag, encodeTagRequest("PV-101").value());
    ASSERT_TRUE(found);
    EXPECT_EQ(decodeIdentity(found->data)->longAddress().unique, m_address.unique);
}

TEST_F(UniversalCommands, AdditionalStatusCarriesTheFaultBits)
{
    const Pdu calm = ask(uc::ReadAdditionalStatus);
    EXPECT_EQ(calm.deviceStatus & device_status::MoreStatusAvailable, 0);
    const AdditionalStatus none = decodeAdditionalStatus(calm.data).value();
    EXPECT_EQ(none.length, 25);
    EXPECT_EQ(none.deviceSpecific, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(none.extendedDeviceStatus, 0);

    set(p::CurrentFaults, "0800000000000000C1");
    const Pdu faulty = ask(uc::ReadAdditionalStatus);
    EXPECT_TRUE(faulty.deviceStatus & device_status::MoreStatusAvailable);
    const AdditionalStatus raised = decodeAdditionalStatus(faulty.data).value();
    EXPECT_EQ(raised.deviceSpecific[0], 0x08);
    EXPECT_EQ(raised.moreDeviceSpecific[2], 0xC1);
    EXPECT_EQ(raised.extendedDeviceStatus, extended_status::MaintenanceRequired);
}

}  // namespace
}  // namespace orvx::hart
