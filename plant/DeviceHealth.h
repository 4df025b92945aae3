#pragma once

#include <QString>

#include <optional>

namespace orvx::plant {

// The NAMUR NE 107 categories of a device's state, worst first, and Unknown for a device whose
// state could not be read.
enum class DeviceHealth { Failure, FunctionCheck, OutOfRange, MaintenanceRequired, Good, Unknown };

// "Failure", "Function check", "Out of range", "Maintenance required", "Good", "Unknown".
QString healthText(DeviceHealth health);

// The category a fault bit (1 to 72, as the fault list numbers them) raises; none for a bit that
// only informs (a reset, new data to read), one the device does not use, or a number off the list.
std::optional<DeviceHealth> faultCategory(int bit);

// The device's category from its CurrentFaults text (9 bytes as 18 hexadecimal digits, bit n in
// byte (n-1)/8, bit (n-1)%8 counted from the least significant) and its mode (0 setup, 1 manual,
// 3 normal, -1 unknown):
// - faults that do not read as 18 hexadecimal digits: Unknown, whatever the mode;
// - a bit that raises Failure: Failure, in any mode;
// - setup or manual mode: Function check (the valve does not follow its setpoint);
// - otherwise the worst category the raised bits give; none raised: Good in normal mode,
//   Unknown in an unknown mode.
DeviceHealth healthOf(const QString& faultBits, int mode);

}  // namespace orvx::plant
