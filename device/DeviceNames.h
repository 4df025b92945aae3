#pragma once

#include <QLatin1StringView>
#include <QString>

#include <cstdint>

// What the business object and the pages say to each other: the notification codes it sends,
// the numbers of the device methods a page starts, and the parameter tags this code reads or
// writes itself. Tags that only a ViewSetting binds stay in the ViewSetting.
namespace orvx::device {

// Device methods. A method is started by writing its number, as decimal text, as a tag with
// an empty value; its success comes back as the notification code::resultOf(method).
namespace method {

constexpr int ModeChange = 0;  // to the mode held in "mode to set"
constexpr int TerminalBoardTest = 3;
constexpr int PartialStrokeTest = 4;
constexpr int WriteParameters = 5;  // cannot be cancelled
constexpr int Reset = 6;            // basic configuration and calibration to defaults; cannot be cancelled
constexpr int FindStops = 8;
constexpr int ManualStopsDriveLow = 9;
constexpr int ManualStopsDriveHigh = 10;
constexpr int ManualStopsAcceptLow = 11;
constexpr int Autotune = 12;
constexpr int TuningWrite = 13;
constexpr int FullOpen = 14;             // in manual mode
constexpr int FullClose = 15;            // in manual mode
constexpr int ToManualSetpoint = 16;     // in manual mode, to ManualSetpoint
constexpr int FixAnalogOutput = 17;      // the retransmitter to AnalogOutput
constexpr int ReleaseAnalogOutput = 18;  // the retransmitter back to the position
constexpr int WritePstSchedule = 19;
constexpr int ClearCurrentFaults = 20;
constexpr int ClearAllFaults = 21;
constexpr int Cancel = 23;  // the running method
constexpr int LoadPstData = 27;
constexpr int TuningRead = 28;
constexpr int WritePollingAddress = 29;
constexpr int ApplyPstSettings = 30;
constexpr int ManualStopsAcceptHigh = 31;  // and finish
constexpr int LoadEsdEvents = 33;

// The tag that starts the method.
inline QString tagOf(int method)
{
    return QString::number(method);
}

}  // namespace method

// Notification codes, the first argument of Notify.
namespace code {

// Sent by the business object on its own.
constexpr std::int32_t StateDocument = 1;  // the value is the new state document
constexpr std::int32_t PstScheduleNotDownloaded = 100;
constexpr std::int32_t DataReloaded = 501;  // the whole parameter set was read again
constexpr std::int32_t DataRefreshed = 502;
constexpr std::int32_t NewValues = 524;  // new live values; the active mode may have changed
constexpr std::int32_t IdentityChanged = 525;
constexpr std::int32_t StatusChanged = 526;

// A method that succeeded.
constexpr std::int32_t resultOf(int method)
{
    return 500 + method;
}
constexpr std::int32_t ModeChanged = resultOf(method::ModeChange);
constexpr std::int32_t Cancelled = resultOf(method::Cancel);

// Failures are negative; the value of a failed method names it as decimal text.
constexpr bool isFailure(std::int32_t code)
{
    return code < 0;
}
constexpr std::int32_t Busy = -2;
constexpr std::int32_t FailedInDevice = -6;  // cancelled by the device, or failed there
// The pages' entries must be checked again; the value says which ones.
constexpr std::int32_t Revalidate = -7;
constexpr int RevalidateAllPages = 2;

// The expected code of the operation record when no operation runs.
constexpr std::int32_t None = -1;

}  // namespace code

// Parameter tags.
namespace tag {

// Connection and the frame's settings.
inline constexpr QLatin1StringView Connected{"15000"};
inline constexpr QLatin1StringView PrivateDialogs{"20000"};  // message boxes and modal dialogs allowed
inline constexpr QLatin1StringView PollingAddress{"1010"};

// Mode and state.
inline constexpr QLatin1StringView Mode{"1000"};         // 0 setup, 1 manual, 3 normal
inline constexpr QLatin1StringView DeviceState{"1009"};  // 0 ok, 64 fail high, else the failure state

// The pages' count of entries to correct: written 1 when one turns invalid, -1 when it is
// valid again.
inline constexpr QLatin1StringView InvalidEntries{"15001"};

// Live values.
inline constexpr QLatin1StringView InputSignal{"2000"};  // mA
inline constexpr QLatin1StringView Position{"2003"};     // percent
inline constexpr QLatin1StringView Pressure{"2006"};     // in the unit of MeasuredPressureUnit
inline constexpr QLatin1StringView EsdTripped{"2012"};   // "0" not tripped

// Commissioning.
inline constexpr QLatin1StringView ManualSetpoint{"9000"};  // percent
inline constexpr QLatin1StringView AnalogOutput{"10002"};   // mA the retransmitter holds; "0" follows the position

// Configuration.
inline constexpr QLatin1StringView DeviceDate{"4000"};            // years since 1900, month, day
inline constexpr QLatin1StringView PressureUnit{"4003"};          // of the settings: 6 psi, 7 bar, 12 kpa
inline constexpr QLatin1StringView MeasuredPressureUnit{"4007"};  // of measured values and results
inline constexpr QLatin1StringView Switch2Action{"6000"};

// PST limits, kept in PressureUnit.
inline constexpr QLatin1StringView PstMinimumPressure{"16001"};
inline constexpr QLatin1StringView PstFrictionLow{"16005"};
inline constexpr QLatin1StringView PstFrictionHigh{"16006"};
inline constexpr QLatin1StringView PstBreakout{"16007"};
inline constexpr QLatin1StringView PstDroop{"16008"};

// Identity.
inline constexpr QLatin1StringView DeviceTag{"1001"};
inline constexpr QLatin1StringView DeviceId{"1003"};

// Results of the last PST, as text in MeasuredPressureUnit (times in seconds).
inline constexpr QLatin1StringView PstPassed{"16022"};  // 0 passed, anything else failed
inline constexpr QLatin1StringView PstFriction{"16023"};
inline constexpr QLatin1StringView PstLowerSpring{"16024"};
inline constexpr QLatin1StringView PstUpperSpring{"16025"};
inline constexpr QLatin1StringView PstBreakaway{"16026"};
inline constexpr QLatin1StringView PstDroopResult{"16027"};
inline constexpr QLatin1StringView PstExhaustTime{"16028"};
inline constexpr QLatin1StringView PstFillTime{"16029"};

// The device's seconds counter now, and its high and low 16 bits at the last PST.
inline constexpr QLatin1StringView DeviceCounter{"16032"};
inline constexpr QLatin1StringView PstCounterHigh{"16033"};
inline constexpr QLatin1StringView PstCounterLow{"16034"};

// The stored signature: curve texts ("pressure@position@..."), the sample interval (ms) and the
// record values "16040" to "16053".
inline constexpr QLatin1StringView FillCurve{"16037"};
inline constexpr QLatin1StringView ExhaustCurve{"16038"};
inline constexpr QLatin1StringView SampleInterval{"16039"};

}  // namespace tag

}  // namespace orvx::device
