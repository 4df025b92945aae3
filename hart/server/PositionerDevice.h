#pragma once

#include "hart/server/NotificationLog.h"
#include "hart/server/ServedDevice.h"
#include "platform/com/ComPtr.h"
#include "simulator/ManualScheduler.h"

#include <optional>
#include <string>

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::hart {

// The simulated positioner as a HART device: the universal commands read its identity, tag and
// message from its parameters, and the positioner's own commands (128 to 132) read and write
// every parameter, start its methods and hand on what it announces. Its time runs on the
// server's clock.
class PositionerDevice : public IServedDevice {
public:
    // What every served positioner says of its kind in command 0.
    static constexpr std::uint16_t kExpandedDeviceType = 0xE4A1;
    static constexpr std::uint16_t kManufacturerId = 0x6021;

    PositionerDevice(std::uint8_t pollAddress, std::uint32_t deviceId);
    ~PositionerDevice() override;

    std::uint8_t pollAddress() const override { return m_pollAddress; }
    DeviceIdentity identity() override;
    void answer(const Pdu& request, Pdu& response) override;
    void advance(std::uint64_t nowMs) override;

    simulator::SimulatedPositioner& positioner() { return *m_positioner; }

private:
    void answerUniversal(const Pdu& request, Pdu& response);
    void readParameter(ByteReader& in, Pdu& response);
    void writeParameter(ByteReader& in, Pdu& response);
    void startMethod(const Pdu& request, Pdu& response);
    void readCurveSegment(ByteReader& in, Pdu& response);
    std::string get(std::string_view tag);
    long number(std::string_view tag);

    std::uint8_t m_pollAddress;
    simulator::ManualScheduler m_scheduler;
    com::ComPtr<simulator::SimulatedPositioner> m_positioner;
    com::ComPtr<NotificationLog> m_log;
    std::optional<std::uint64_t> m_lastMs;
};

}  // namespace orvx::hart
