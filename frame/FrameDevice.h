#pragma once

#include <QString>

#include <string_view>

namespace orvx::com {
class IUnknown;
}
namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::frame {

// The device behind the frame's controls, as the window's menus and status bar reach it: the
// simulated positioner, or a positioner over the HART link.
class FrameDevice {
public:
    virtual ~FrameDevice() = default;

    virtual com::IUnknown* BusinessObject() = 0;
    // What the window's title says the controls are connected to.
    virtual QString Describe() const = 0;
    virtual void Connect() = 0;
    virtual void Disconnect() = 0;
    virtual void SetPrivateDialogs(bool enabled) = 0;
    virtual void SetUserLevel(std::u16string_view level) = 0;
    // The status bar's line: the command the device runs, or what keeps the link from it.
    virtual QString Status() = 0;
    // The simulated positioner, for the Simulate menu and the screenshots; null for a real device.
    virtual simulator::SimulatedPositioner* Simulated() { return nullptr; }
};

}  // namespace orvx::frame
