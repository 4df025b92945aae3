#pragma once

#include <QString>

#include <cstdint>

namespace orvx::framework {

// Device mode codes; page availability masks use the same bits and ModeAny for any mode.
enum DeviceMode : std::uint32_t {
    ModeUndetermined = 0,  // the device's state or mode could not be read
    ModeSetup = 1,
    ModeManual = 2,
    ModeNormal = 4,
    ModeLowPower = 8,
    ModeFailSafe = 16,
    ModeFatal = 32,
    ModeFailHigh = 64,
    ModeMarginalPower = 128,
    ModeDisconnected = 256,
    ModeAny = 512,
};

// What the user interface knows of the device and its user at one moment. The controller
// derives it once per notification; pages, their header and the edit model read it from the
// controller instead of asking the device again.
struct DeviceState {
    bool connected = false;                 // a connection flag that cannot be read counts as connected
    std::uint32_t mode = ModeUndetermined;  // a DeviceMode, never ModeFailHigh; ModeDisconnected offline
    bool failHigh = false;                  // the device reports fail-high beside its mode
    bool writable = false;                  // the user may write parameters and start device commands

    bool operator==(const DeviceState&) const = default;
};

// The mode's name ("Setup" for a value none of the known ones) with " / FailHigh" added when
// the device reports it; "Unknown" and "Disconnected" stay as they are.
QString modeText(const DeviceState& state);

// Whether a user of this level may change the device through a control: every level but
// "observer" (compared exactly), and only on a control the business object registered.
bool userMayWrite(const QString& userLevel, bool registered);

}  // namespace orvx::framework
