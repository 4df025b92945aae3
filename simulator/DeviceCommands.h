#pragma once

#include <cstdint>
#include <optional>

namespace orvx::simulator {

// Method numbers of the commands the device runs.
enum Method {
    ModeChange = 0,
    TerminalBoardTest = 3,
    PartialStrokeTest = 4,
    Reset = 6,
    TuningWrite = 13,
    ClearCurrentFaults = 20,
    ClearAllFaults = 21,
    WriteSchedule = 19,
    Cancel = 23,
    LoadPstData = 27,
    TuningRead = 28,
    ApplyPstSettings = 30,
    LoadEsdEvents = 33,
};

// How long a command takes; none for one the device does not know.
inline std::optional<std::int64_t> durationOf(int method)
{
    switch (method) {
    case ModeChange: return 300;
    case Reset: return 1000;
    case TuningWrite:
    case TuningRead:
    case WriteSchedule:
    case ApplyPstSettings: return 500;
    case ClearCurrentFaults:
    case ClearAllFaults:
    case LoadPstData:
    case LoadEsdEvents: return 300;
    case TerminalBoardTest: return 1000;
    default: return std::nullopt;  // a PST takes as long as its strokes
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
