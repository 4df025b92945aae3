#pragma once

#include <cstdint>
#include <optional>

namespace orvx::simulator {

// Method numbers of the commands the device runs.
enum Method {
    ModeChange = 0,
    TerminalBoardTest = 3,
    PartialStrokeTest = 4,
    WriteParameters = 5,
    Reset = 6,
    FindStops = 8,
    DriveToLowStop = 9,
    DriveToHighStop = 10,
    AcceptLowStop = 11,
    Autotune = 12,
    TuningWrite = 13,
    FullOpen = 14,
    FullClose = 15,
    ToManualSetpoint = 16,
    FixAnalogOutput = 17,
    ReleaseAnalogOutput = 18,
    ClearCurrentFaults = 20,
    ClearAllFaults = 21,
    WriteSchedule = 19,
    Cancel = 23,
    LoadPstData = 27,
    TuningRead = 28,
    ApplyPstSettings = 30,
    AcceptHighStop = 31,
    LoadEsdEvents = 33,
};

// Commands that stroke or calibrate the valve; the device runs them in setup mode only.
inline bool isCalibration(int method)
{
    return method == FindStops || method == DriveToLowStop || method == DriveToHighStop || method == AcceptLowStop ||
           method == Autotune || method == AcceptHighStop;
}

// Commands that drive the valve by hand; the device runs them in manual mode only.
inline bool isManualDrive(int method)
{
    return method == FullOpen || method == FullClose || method == ToManualSetpoint;
}

// How long a command takes; none for one the device does not know.
inline std::optional<std::int64_t> durationOf(int method)
{
    switch (method) {
    case ModeChange: return 300;
    case Reset: return 1000;
    case WriteParameters: return 1500;
    case AcceptLowStop: return 500;
    case AcceptHighStop: return 1000;
    case TuningWrite:
    case TuningRead:
    case WriteSchedule:
    case ApplyPstSettings: return 500;
    case FixAnalogOutput:
    case ReleaseAnalogOutput: return 300;
    case ClearCurrentFaults:
    case ClearAllFaults:
    case LoadPstData:
    case LoadEsdEvents: return 300;
    case TerminalBoardTest: return 1000;
    default: return std::nullopt;  // a PST, a calibration or a drive takes as long as its strokes
    }
}

// What a command is called where it is shown running; null for one the device does not know.
inline const char* operationName(int method)
{
    switch (method) {
    case ModeChange: return "Mode change";
    case TerminalBoardTest: return "Terminal board test";
    case PartialStrokeTest: return "Partial stroke test";
    case WriteParameters: return "Write parameters";
    case Reset: return "Reset";
    case FindStops: return "Find stops";
    case DriveToLowStop: return "Drive to low stop";
    case DriveToHighStop: return "Drive to high stop";
    case AcceptLowStop: return "Accept low stop";
    case Autotune: return "Autotune";
    case TuningWrite: return "Tuning write";
    case FullOpen: return "Full open";
    case FullClose: return "Full close";
    case ToManualSetpoint: return "Drive to setpoint";
    case FixAnalogOutput: return "Fix analog output";
    case ReleaseAnalogOutput: return "Release analog output";
    case WriteSchedule: return "Schedule write";
    case ClearCurrentFaults: return "Clear current faults";
    case ClearAllFaults: return "Clear all faults";
    case LoadPstData: return "Loading PST data";
    case TuningRead: return "Tuning read";
    case ApplyPstSettings: return "Apply PST settings";
    case AcceptHighStop: return "Accept high stop";
    case LoadEsdEvents: return "Loading ESD events";
    default: return nullptr;
    }
}

// Notification codes. A success is 500 plus the method number; a failure carries the method
// number as its value.
inline constexpr std::int32_t kStateDocument = 1;
inline constexpr std::int32_t kScheduleNotDownloaded = 100;
inline constexpr std::int32_t kSucceeded = 500;
inline constexpr std::int32_t kNewValues = 524;
inline constexpr std::int32_t kIdentityChanged = 525;
inline constexpr std::int32_t kNotSupported = -1;
inline constexpr std::int32_t kBusy = -2;
inline constexpr std::int32_t kFailedInDevice = -6;

}  // namespace orvx::simulator
