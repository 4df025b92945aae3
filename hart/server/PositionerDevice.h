#pragma once

#include "device/Vocabulary.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/server/NotificationLog.h"
#include "hart/server/ServedDevice.h"
#include "platform/com/ComPtr.h"
#include "simulator/ManualScheduler.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::hart {

// The simulated positioner as a HART device: the universal commands read its identity, tag,
// message, loop configuration, dynamic variables and fault bits from its parameters, and the
// positioner's own commands (128 to 132) read and write every parameter, start its methods and
// hand on what it announces. Its time runs on the server's clock.
//
// The poll address it answers command 0 at moves with command 6, or with a write of
// PollingAddress (129) followed by the method WritePollingAddress, as on the device. Every write
// that is stored (6, 17, 18, 19, 129) sets "configuration changed" in the device status of every
// later reply, until command 38 resets it.
class PositionerDevice : public IServedDevice {
public:
    // What every served positioner says of its kind in command 0.
    static constexpr std::uint16_t kExpandedDeviceType = kPositionerDeviceType;
    static constexpr std::uint16_t kManufacturerId = 0x6021;

    PositionerDevice(std::uint8_t pollAddress, std::uint32_t deviceId);
    ~PositionerDevice() override;

    std::uint8_t pollAddress() const override { return m_pollAddress; }
    DeviceIdentity identity() override;
    bool answer(const Pdu& request, Pdu& response) override;
    void advance(std::uint64_t nowMs) override;

    simulator::SimulatedPositioner& positioner() { return *m_positioner; }

private:
    // PositionerUniversal.cpp
    bool answerUniversal(const Pdu& request, Pdu& response);
    void readVariables(std::uint8_t command, Pdu& response);
    void writePollingAddress(ByteView data, Pdu& response);
    void writeMessage(ByteView data, Pdu& response);
    void writeTagDescriptorDate(ByteView data, Pdu& response);
    void writeFinalAssemblyNumber(ByteView data, Pdu& response);
    void resetConfigurationChanged(ByteView data, Pdu& response);
    void readAdditionalStatus(Pdu& response);
    std::uint8_t statusByte();
    // Stores each value by the device's rules; false, with nothing stored after the first
    // refusal, when the device refuses one.
    bool store(std::initializer_list<std::pair<const device::Parameter*, std::string>> values);
    void configurationChanged();
    static void reply(Pdu& response, Decoded<Bytes> data);

    // PositionerDevice.cpp
    void readParameter(ByteReader& in, Pdu& response);
    void writeParameter(ByteReader& in, Pdu& response);
    void startMethod(const Pdu& request, Pdu& response);
    void readCurveSegment(ByteReader& in, Pdu& response);
    std::string get(std::string_view tag);
    long number(std::string_view tag);
    double decimal(std::string_view tag);

    std::uint8_t m_pollAddress;
    bool m_loopCurrentEnabled;
    bool m_configurationChanged = false;
    std::uint16_t m_configurationCounter = 0;
    simulator::ManualScheduler m_scheduler;
    com::ComPtr<simulator::SimulatedPositioner> m_positioner;
    com::ComPtr<NotificationLog> m_log;
    std::optional<std::uint64_t> m_lastMs;
};

}  // namespace orvx::hart
