#pragma once

#include "FrameDevice.h"

namespace orvx::frame {

// The simulated positioner behind the frame; the caller keeps it alive.
class SimulatedDevice : public FrameDevice {
public:
    explicit SimulatedDevice(simulator::SimulatedPositioner& device) : m_device(device) {}

    com::IUnknown* BusinessObject() override;
    QString Describe() const override { return QStringLiteral("simulated positioner"); }
    void Connect() override;
    void Disconnect() override;
    void SetPrivateDialogs(bool enabled) override;
    void SetUserLevel(std::u16string_view level) override;
    QString Status() override;
    simulator::SimulatedPositioner* Simulated() override { return &m_device; }

private:
    simulator::SimulatedPositioner& m_device;
};

}  // namespace orvx::frame
