#include "plant/DeviceHealth.h"

#include <algorithm>
#include <array>

namespace orvx::plant {

namespace {

enum class Raises { Nothing, Failure, FunctionCheck, OutOfRange, MaintenanceRequired };

struct FaultBit {
    const char* name;  // as the fault list of the status page names it
    Raises raises;
};

// Bit 1 first. Failure: the valve may not close on demand or the electronics cannot be trusted.
// FunctionCheck: the device is being worked on or holds its valve on purpose. OutOfRange:
// it runs outside its conditions of use. MaintenanceRequired: it still works but wears, drifts or
// misses a test. Bits marked unused are never set by the device.
constexpr std::array<FaultBit, 72> kFaultBits{{
    {"Reset", Raises::Nothing},
    {"Low Power", Raises::OutOfRange},
    {"Actuator Error", Raises::Failure},
    {"Low Air Supply Warning", Raises::OutOfRange},
    {"Position Error", Raises::OutOfRange},
    {"unused", Raises::Nothing},
    {"Keypad Fault", Raises::MaintenanceRequired},
    {"Marginal Power (unused)", Raises::Nothing},
    {"Calibration Failed", Raises::MaintenanceRequired},
    {"Find Stops Failed", Raises::MaintenanceRequired},
    {"Autotune Failed", Raises::MaintenanceRequired},
    {"Std Diagnostics Failed (unused)", Raises::Nothing},
    {"Ext Diagnostics Failed", Raises::MaintenanceRequired},
    {"Operating System Fault", Raises::Failure},
    {"High Air Supply Warning", Raises::OutOfRange},
    {"unused", Raises::Nothing},
    {"Bias Out Of Range", Raises::OutOfRange},
    {"I/P Out Of Range", Raises::OutOfRange},
    {"Temp. Out Of Range", Raises::OutOfRange},
    {"unused", Raises::Nothing},
    {"Inadequate Low Air Threshold", Raises::OutOfRange},
    {"unused", Raises::Nothing},
    {"unused", Raises::Nothing},
    {"unused", Raises::Nothing},
    {"NVM Checksum Error", Raises::Failure},
    {"RAM Checksum Error", Raises::Failure},
    {"Flash Checksum Error", Raises::Failure},
    {"Stack Error", Raises::Failure},
    {"Factory Write Indicator", Raises::FunctionCheck},
    {"NVM Test Error", Raises::Failure},
    {"Latched Event", Raises::FunctionCheck},
    {"Factory Mode Indicator", Raises::FunctionCheck},
    {"Reference Voltage Fault", Raises::Failure},
    {"Position Sensor Fault", Raises::Failure},
    {"Current Sensor Fault", Raises::Failure},
    {"Temperature Sensor Fault", Raises::MaintenanceRequired},
    {"unused", Raises::Nothing},
    {"Pressure 1 Fault", Raises::Failure},
    {"Pressure 2 Fault", Raises::Failure},
    {"Pressure 3 Fault", Raises::Failure},
    {"I/P Pressure Sensor Fault", Raises::Failure},
    {"Atmospheric Pressure Sensor Fault", Raises::MaintenanceRequired},
    {"Watchdog timeout", Raises::Failure},
    {"NVM Write Fault", Raises::Failure},
    {"IRQ Fault", Raises::Failure},
    {"Flash ROM Test timeout", Raises::Failure},
    {"MCU Internal Malfunction", Raises::Failure},
    {"Software Error", Raises::Failure},
    // A tripped valve did its job; it stays in its safe position until it is reset.
    {"ESD Valve Tripped", Raises::FunctionCheck},
    {"New ESD Data Available", Raises::Nothing},
    {"Saving ESD Data Error", Raises::MaintenanceRequired},
    {"PST Failed", Raises::Failure},
    {"New PST Data Available", Raises::Nothing},
    {"Saving PST Data Error", Raises::MaintenanceRequired},
    {"Pneum. Train Integrity", Raises::Failure},
    {"ESD Circuit Integrity", Raises::Failure},
    {"Low PV Analog Input (unused)", Raises::Nothing},
    {"High PV Analog Input (unused)", Raises::Nothing},
    {"Friction Below Normal", Raises::MaintenanceRequired},
    {"Friction Above Normal", Raises::MaintenanceRequired},
    {"Breakout Force Exceeded", Raises::MaintenanceRequired},
    {"Air Supply Droop Abnormal", Raises::OutOfRange},
    {"PST Canceled", Raises::MaintenanceRequired},
    {"Pneumatic Test Canceled", Raises::MaintenanceRequired},
    {"I/P Calibration Drift Warning", Raises::MaintenanceRequired},
    {"Low I/P Output Pressure", Raises::OutOfRange},
    {"High I/P Output Pressure", Raises::OutOfRange},
    {"Feedback Linkage Drift", Raises::MaintenanceRequired},
    {"Valve Stuck Closed", Raises::Failure},
    {"Valve Stuck Opened", Raises::Failure},
    {"PST Out Of Schedule", Raises::MaintenanceRequired},
    {"Pneumatic Test Out Of Schedule", Raises::MaintenanceRequired},
}};

constexpr int kFaultBytes = 9;

std::optional<DeviceHealth> categoryOf(Raises raises)
{
    switch (raises) {
    case Raises::Nothing: return std::nullopt;
    case Raises::Failure: return DeviceHealth::Failure;
    case Raises::FunctionCheck: return DeviceHealth::FunctionCheck;
    case Raises::OutOfRange: return DeviceHealth::OutOfRange;
    case Raises::MaintenanceRequired: return DeviceHealth::MaintenanceRequired;
    }
    return std::nullopt;
}

}  // namespace

QString healthText(DeviceHealth health)
{
    switch (health) {
    case DeviceHealth::Failure: return QStringLiteral("Failure");
    case DeviceHealth::FunctionCheck: return QStringLiteral("Function check");
    case DeviceHealth::OutOfRange: return QStringLiteral("Out of range");
    case DeviceHealth::MaintenanceRequired: return QStringLiteral("Maintenance required");
    case DeviceHealth::Good: return QStringLiteral("Good");
    case DeviceHealth::Unknown: return QStringLiteral("Unknown");
    }
    return QStringLiteral("Unknown");
}

std::optional<DeviceHealth> faultCategory(int bit)
{
    if (bit < 1 || bit > static_cast<int>(kFaultBits.size()))
        return std::nullopt;
    return categoryOf(kFaultBits[static_cast<std::size_t>(bit - 1)].raises);
}

DeviceHealth healthOf(const QString& faultBits, int mode)
{
    const QString hex = faultBits.trimmed();
    const auto isHexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
    };
    if (hex.size() != 2 * kFaultBytes || !std::ranges::all_of(hex, isHexDigit))
        return DeviceHealth::Unknown;
    std::optional<DeviceHealth> worst;
    for (int byte = 0; byte < kFaultBytes; ++byte) {
        const int value = hex.mid(2 * byte, 2).toInt(nullptr, 16);
        for (int b = 0; b < 8; ++b) {
            if ((value & (1 << b)) == 0)
                continue;
            const auto raised = faultCategory(byte * 8 + b + 1);
            if (raised && (!worst || *raised < *worst))
                worst = raised;
        }
    }
    if (worst == DeviceHealth::Failure)
        return DeviceHealth::Failure;
    if (mode == 0 || mode == 1)
        return DeviceHealth::FunctionCheck;
    if (worst)
        return *worst;
    return mode == 3 ? DeviceHealth::Good : DeviceHealth::Unknown;
}

}  // namespace orvx::plant
