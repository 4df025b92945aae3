#pragma once

// The device's vocabulary, one row per word; Vocabulary.h turns the rows into named entries.
// A row's first column is its stable name; no two rows of a table share a name, a tag or a
// number, and a name, once given, keeps its meaning.
//
// Parameters: P(name, tag, type, limits, unit, access, meaning). Access is what the user
// interface does with it (the device holds every one). A pressure's range is in psi.
#define ORVX_DEVICE_PARAMETERS(P)                                                                                      \
    /* Identity and mode */                                                                                            \
    P(Mode, "1000", Choice, oneOf(codes::Modes), None, Read, "the operating mode: 0 setup, 1 manual, 3 normal")        \
    P(DeviceTag, "1001", Text, upTo(8), None, Read, "the tag every page header shows")                                 \
    P(Descriptor, "1002", Text, upTo(16), None, Read, "the descriptor every page header shows")                        \
    P(DeviceId, "1003", Integer, within(0, 16777215), None, Read, "the device identification number")                  \
    P(FinalAssemblyNumber, "1004", Integer, within(0, 16777215), None, Read, "the final assembly number shown")        \
    P(ModeToSet, "1005", Choice, oneOf(codes::Modes), None, ReadWrite, "the mode a mode change goes to")               \
    P(ConfiguredTag, "1006", Text, upTo(8), None, ReadWrite, "the tag to configure; the header shows it")              \
    P(ConfiguredDescriptor, "1007", Text, upTo(16), None, ReadWrite, "the descriptor to configure")                    \
    P(ConfiguredFinalAssemblyNumber, "1008", Integer, within(0, 16777215), None, ReadWrite,                            \
      "the final assembly number to configure")                                                                        \
    P(DeviceState, "1009", Choice, oneOf(codes::DeviceStates), None, Read,                                             \
      "0 ok, 1 low power, 2 fail-safe, 4 fatal, 64 fail high, 128 marginal power")                                     \
    P(PollingAddress, "1010", Integer, within(0, 15), None, ReadWrite, "the HART polling address")                     \
    /* Live values */                                                                                                  \
    P(InputSignal, "2000", Decimal, unlimited, MilliAmpere, Read, "the loop current the positioner receives")          \
    P(Position, "2003", Decimal, unlimited, Percent, Read, "the valve position")                                       \
    P(Pressure, "2006", Decimal, unlimited, MeasuredPressure, Read, "the actuator pressure")                           \
    P(SupplyPressure, "2009", Decimal, unlimited, MeasuredPressure, Read, "the air supply pressure")                   \
    P(EsdTripped, "2012", Flag, unlimited, None, Read, "whether the ESD has tripped the valve")                        \
    /* General configuration */                                                                                        \
    P(AirAction, "3000", Choice, oneOf(codes::TwoWays), None, ReadWrite, "1 air to open, 0 air to close")              \
    P(Message, "3001", Text, upTo(32), None, ReadWrite, "a free text kept in the device")                              \
    P(DeviceDate, "4000", Date, unlimited, None, Read, "the device's date: years since 1900, month, day")              \
    P(DisplayLanguage, "4001", Choice, within(0, 6), None, ReadWrite,                                                  \
      "the local display's language: English, French, Spanish, Portuguese, Japanese, Italian, German")                 \
    P(PressureUnit, "4003", Choice, oneOf(codes::PressureUnits), None, ReadWrite,                                      \
      "the unit of the pressure settings: 6 psi, 7 bar, 12 kpa")                                                       \
    P(ActuatorType, "4004", Choice, oneOf(codes::TwoWays), None, ReadWrite, "1 single acting, 0 double acting")        \
    P(LatchTrips, "4005", Flag, unlimited, None, ReadWrite, "a trip stays until it is reset")                          \
    P(ButtonLock, "4006", Choice, within(0, 3), None, ReadWrite,                                                       \
      "the local buttons: 0 all allowed, 1 no cal/config, 2 no manual/setup mode, 3 none")                             \
    P(MeasuredPressureUnit, "4007", Choice, oneOf(codes::PressureUnits), None, Read,                                   \
      "the unit of measured pressures and PST results")                                                                \
    /* Alarms */                                                                                                       \
    P(PositionErrorBand, "5000", Decimal, within(0.5, 199), Percent, ReadWrite,                                        \
      "the deviation from the setpoint that counts as a position error")                                               \
    P(PositionErrorEnabled, "5001", Flag, unlimited, None, ReadWrite, "whether position errors are raised")            \
    P(PositionErrorTime, "5002", Decimal, within(1, 328), Second, ReadWrite,                                           \
      "how long a deviation lasts before it is a position error")                                                      \
    P(ValveStuckLimit, "5003", Decimal, within(3, 20), Percent, ReadWrite,                                             \
      "the least movement expected when the setpoint moves")                                                           \
    P(NearClosed, "5004", Decimal, within(0, 20), Percent, ReadWrite, "below it the valve counts as nearly closed")    \
    P(SupplyLimitLow, "5005", Decimal, within(30, 110), SettingsPressure, ReadWrite,                                   \
      "a supply below it raises the low supply alarm")                                                                 \
    P(SupplyLimitHigh, "5006", Decimal, within(30, 120), SettingsPressure, ReadWrite,                                  \
      "a supply above it raises the high supply alarm")                                                                \
    P(LinkageLimit, "5007", Decimal, within(1, 20), Percent, ReadWrite,                                                \
      "the shift of the closed position that counts as a linkage fault")                                               \
    /* Switch 2 */                                                                                                     \
    P(Switch2Action, "6000", Choice, within(0, 11), None, ReadWrite,                                                   \
      "what switches digital output 2; 5 and 6 are the position limits")                                               \
    P(Switch2Normally, "6001", Choice, oneOf(codes::TwoWays), None, ReadWrite, "the switch at rest: 1 open, 0 closed") \
    P(Switch2Value, "6002", Decimal, within(-99, 199), Percent, ReadWrite, "the position of a position limit action")  \
    /* HART */                                                                                                         \
    P(Preambles, "7001", Integer, unlimited, None, Read, "the preambles the device asks for in a response")            \
    P(PhysicalSignalling, "7002", Integer, unlimited, None, Read, "the physical signalling code")                      \
    P(DeviceFlags, "7003", Integer, unlimited, None, Read, "the HART device flags")                                    \
    P(BurstMode, "7004", Choice, oneOf(codes::TwoWays), None, ReadWrite, "1 enter burst mode, 0 exit it")              \
    P(BurstCommand, "7005", Choice, oneOf(codes::BurstCommands), None, ReadWrite,                                      \
      "the command answered in burst mode: 1 read PV, 3 read all variables")                                           \
    /* Tuning of the position controller */                                                                            \
    P(TuningP, "8000", Integer, within(0, 5000), None, ReadWrite, "proportional gain")                                 \
    P(TuningI, "8001", Integer, within(0, 1000), None, ReadWrite, "integral term")                                     \
    P(TuningD, "8002", Integer, within(0, 200), None, ReadWrite, "derivative term")                                    \
    P(TuningPAdjust, "8003", Integer, within(-3000, 3000), None, ReadWrite, "gain on filling against exhausting")      \
    P(TuningDeadZone, "8004", Decimal, within(0, 5), Percent, ReadWrite, "dead zone")                                  \
    P(TuningBeta, "8005", Integer, within(-9, 9), None, ReadWrite, "beta factor")                                      \
    P(TuningPositionCompensation, "8006", Integer, within(2, 20), None, ReadWrite, "position compensation")            \
    P(TuningBoost, "8007", Integer, within(0, 20), None, ReadWrite, "boost")                                           \
    P(TuningAggressiveness, "8008", Integer, within(-9, 9), None, ReadWrite,                                           \
      "what autotune tunes for: -9 no overshoot to 9 fast")                                                            \
    /* Commissioning */                                                                                                \
    P(ManualSetpoint, "9000", Decimal, within(0, 100), Percent, ReadWrite, "where a manual drive takes the valve")     \
    P(RetransmitRangeHigh, "10000", Decimal, within(-199, 199), Percent, ReadWrite,                                    \
      "the position the retransmitter gives 20 mA at")                                                                 \
    P(RetransmitRangeLow, "10001", Decimal, within(-199, 199), Percent, ReadWrite,                                     \
      "the position the retransmitter gives 4 mA at")                                                                  \
    P(AnalogOutput, "10002", Decimal, withinOrZero(3.2, 22), MilliAmpere, ReadWrite,                                   \
      "the output the retransmitter holds; 0 follows the position")                                                    \
    /* Faults */                                                                                                       \
    P(CurrentFaults, "12000", FaultBits, unlimited, None, Read, "the faults active now")                               \
    P(HistoricalFaults, "12001", FaultBits, unlimited, None, Read, "the faults raised since they were last cleared")   \
    P(PneumaticsFaultAction, "12002", Choice, oneOf(codes::FaultActions), None, ReadWrite,                             \
      "how a pneumatics fault fails the valve: 4 high, 3 low")                                                         \
    P(ElectronicsFaultAction, "12003", Choice, oneOf(codes::FaultActions), None, ReadWrite,                            \
      "how an electronics fault fails the valve: 4 high, 3 low")                                                       \
    /* Sensors */                                                                                                      \
    P(ActuatorPressure1, "13000", Decimal, unlimited, MeasuredPressure, Read, "actuator chamber 1")                    \
    P(ActuatorPressure2, "13001", Decimal, unlimited, MeasuredPressure, Read, "actuator chamber 2 (double acting)")    \
    P(PilotPressure, "13002", Decimal, unlimited, MeasuredPressure, Read, "the I/P converter's output pressure")       \
    P(BoardTemperature, "13003", Decimal, unlimited, DegreeCelsius, Read, "the electronics board now")                 \
    P(LowestTemperature, "13004", Decimal, unlimited, DegreeCelsius, Read, "the board's lowest on record")             \
    P(HighestTemperature, "13005", Decimal, unlimited, DegreeCelsius, Read, "the board's highest on record")           \
    P(RawSignal, "13006", Integer, unlimited, Count, Read, "the input signal's converter counts")                      \
    P(RawPosition, "13007", Integer, unlimited, Count, Read, "the position sensor's counts")                           \
    P(RawPressure1, "13008", Integer, unlimited, Count, Read, "the chamber 1 sensor's counts")                         \
    P(OpenOrClose, "13009", Choice, oneOf(codes::TwoWays), None, ReadWrite, "0 open, 1 close")                         \
    P(LowerStop, "13010", Integer, unlimited, Count, Read, "the position sensor at the lower stop")                    \
    P(UpperStop, "13011", Integer, unlimited, Count, Read, "the position sensor at the upper stop")                    \
    P(IpOutput, "13012", Decimal, unlimited, Percent, Read, "the drive of the I/P converter")                          \
    P(IpCurrent, "13013", Decimal, unlimited, MilliAmpere, Read, "the current through the I/P converter")              \
    P(RawPressure2, "13014", Integer, unlimited, Count, Read, "the chamber 2 sensor's counts")                         \
    P(RawSupplyPressure, "13015", Integer, unlimited, Count, Read, "the supply sensor's counts")                       \
    P(RawPilotPressure, "13016", Integer, unlimited, Count, Read, "the pilot sensor's counts")                         \
    /* Device information */                                                                                           \
    P(Manufacturer, "14000", Text, unlimited, None, Read, "the maker")                                                 \
    P(DeviceType, "14001", Text, unlimited, None, Read, "the device type")                                             \
    P(ModuleType, "14002", Text, unlimited, None, Read, "the module type")                                             \
    P(UniversalRevision, "14003", Integer, unlimited, None, Read, "the HART universal command revision")               \
    P(HardwareRevision, "14004", Integer, unlimited, None, Read, "the electronics' revision")                          \
    P(FieldDeviceRevision, "14005", Integer, unlimited, None, Read, "the field device revision")                       \
    P(SoftwareRevision, "14006", Integer, unlimited, None, Read, "the firmware revision")                              \
    /* The frame's flags and the pages' count */                                                                       \
    P(Connected, "15000", Boolean, unlimited, None, Read, "whether the business object reaches the device")            \
    P(InvalidEntries, "15001", Integer, unlimited, None, Write,                                                        \
      "the pages' entries to correct: 1 when one turns invalid, -1 when it is valid again")                            \
    P(PrivateDialogs, "20000", Boolean, unlimited, None, Read, "whether message boxes and modal dialogs are allowed")  \
    /* PST settings */                                                                                                 \
    P(PstTravel, "16000", Decimal, within(5, 30), Percent, ReadWrite, "how far a PST strokes the valve")               \
    P(PstMinimumPressure, "16001", Decimal, within(-120, 120), SettingsPressure, ReadWrite,                            \
      "a PST never vents the actuator below it")                                                                       \
    P(PstMaximumTime, "16002", Integer, within(5, 300), Second, ReadWrite, "the longest a PST may take")               \
    P(PstSpeed, "16003", Decimal, within(0.25, 10), PercentPerSecond, ReadWrite, "how fast a PST strokes the valve")   \
    P(PstDwellTime, "16004", Integer, within(2, 60), Second, ReadWrite, "how long a PST holds at its end")             \
    P(PstFrictionLow, "16005", Decimal, within(0, 30), SettingsPressure, ReadWrite,                                    \
      "a friction at or below it fails a PST")                                                                         \
    P(PstFrictionHigh, "16006", Decimal, within(0, 30), SettingsPressure, ReadWrite,                                   \
      "a friction at or above it fails a PST")                                                                         \
    P(PstBreakout, "16007", Decimal, within(0, 30), SettingsPressure, ReadWrite,                                       \
      "a breakaway at or above it fails a PST, which gives up there")                                                  \
    P(PstDroop, "16008", Decimal, within(0, 30), SettingsPressure, ReadWrite, "a droop at or above it fails a PST")    \
    P(PstFreezeDigitalOutputs, "16009", Flag, unlimited, None, ReadWrite, "a PST holds the digital outputs")           \
    P(PstFreezeAnalogOutput, "16010", Flag, unlimited, None, ReadWrite, "a PST holds the analog output")               \
    P(PstScheduleEnabled, "16011", Flag, unlimited, None, ReadWrite, "PSTs run by the schedule")                       \
    P(PstInterval, "16012", Integer, within(1, 365), Day, ReadWrite, "the days between scheduled PSTs")                \
    P(PstDaysToNext, "16013", Integer, within(0, 365), Day, Read, "whole days until the next scheduled PST")           \
    P(PstMinutesToNext, "16014", Integer, within(0, 1439), Minute, Read, "and the minutes beyond them")                \
    P(PstStartDay, "16015", Integer, within(0, 364), Day, Write, "the chosen start's day within the interval")         \
    P(PstStartMinute, "16016", Integer, within(0, 1439), Minute, Write, "the chosen start's minute of the day")        \
    P(PstTriggerByInput, "16018", Flag, unlimited, None, ReadWrite, "the analog input may start a PST")                \
    P(PstTriggerByButtons, "16020", Flag, unlimited, None, ReadWrite, "the local buttons may start a PST")             \
    P(PstTriggerByHart, "16021", Flag, unlimited, None, ReadWrite, "a HART command may start a PST")                   \
    /* The last PST's results */                                                                                       \
    P(PstPassed, "16022", Integer, unlimited, None, Read, "0 passed, anything else failed")                            \
    P(PstFriction, "16023", Decimal, unlimited, MeasuredPressure, Read, "the friction read off the last PST")          \
    P(PstLowerSpring, "16024", Decimal, unlimited, MeasuredPressure, Read, "the spring range's lower end")             \
    P(PstUpperSpring, "16025", Decimal, unlimited, MeasuredPressure, Read, "the spring range's upper end")             \
    P(PstBreakaway, "16026", Decimal, unlimited, MeasuredPressure, Read, "the pressure fall before the valve moved")   \
    P(PstDroopResult, "16027", Decimal, unlimited, MeasuredPressure, Read, "the largest pressure fall in the dwell")   \
    P(PstExhaustTime, "16028", Decimal, unlimited, Second, Read, "the exhaust stroke's time")                          \
    P(PstFillTime, "16029", Decimal, unlimited, Second, Read, "the fill stroke's time")                                \
    /* The schedule as the page computed it */                                                                         \
    P(PstElapsedDays, "16030", Integer, within(0, 364), Day, Write, "where the writer's clock stands in the interval") \
    P(PstElapsedMinutes, "16031", Integer, within(0, 1439), Minute, Write, "and its minute of the day")                \
    /* The device's seconds counter now, and its high and low 16 bits at the last PST */                               \
    P(DeviceCounter, "16032", Integer, within(0, 4294967295.0), Second, Read, "seconds since the device was made")     \
    P(PstCounterHigh, "16033", Integer, within(0, 65535), None, Read, "the counter's high 16 bits at the last PST")    \
    P(PstCounterLow, "16034", Integer, within(0, 65535), None, Read, "the counter's low 16 bits at the last PST")      \
    P(NewSchedulePending, "16036", Flag, unlimited, None, Write, "a new schedule waits to be written")                 \
    /* The stored signature and its record values, in the data file's terms */                                         \
    P(FillCurve, "16037", Curve, unlimited, MeasuredPressure, Read, "curve 2, the fill stroke")                        \
    P(ExhaustCurve, "16038", Curve, unlimited, MeasuredPressure, Read, "curve 1, the exhaust stroke or an ESD event")  \
    P(SampleInterval, "16039", Integer, unlimited, Millisecond, Read, "how often the curves were sampled")             \
    P(RecordPassed, "16040", Integer, unlimited, None, Read, "PstPassed")                                              \
    P(RecordFriction, "16041", Integer, unlimited, MeasuredPressure, Read, "Friction")                                 \
    P(RecordLowerSpring, "16042", Integer, unlimited, MeasuredPressure, Read, "LSpringRange")                          \
    P(RecordUpperSpring, "16043", Integer, unlimited, MeasuredPressure, Read, "USpringRange")                          \
    P(RecordBreakaway, "16044", Integer, unlimited, MeasuredPressure, Read, "BreakAwayPres")                           \
    P(RecordDroop, "16045", Integer, unlimited, MeasuredPressure, Read, "Droop")                                       \
    P(RecordExhaustTime, "16046", Integer, unlimited, Second, Read, "RspTimeExhaust")                                  \
    P(RecordFillTime, "16047", Integer, unlimited, Second, Read, "RspTimeFill")                                        \
    P(RecordSamplesDown, "16048", Integer, unlimited, Count, Read, "NumSamplesDown: the samples of curve 1")           \
    P(RecordSamples, "16049", Integer, unlimited, Count, Read, "the samples of both curves")                           \
    P(RecordInterval, "16050", Integer, unlimited, Millisecond, Read, "Interval")                                      \
    P(RecordStart, "16051", Integer, unlimited, Percent, Read, "PstStart: where the stroke started")                   \
    P(RecordTravel, "16052", Integer, unlimited, Percent, Read, "PstTravel")                                           \
    P(RecordSpeed, "16053", Integer, unlimited, PercentPerSecond, Read, "PstSpeed")

// Methods: M(name, number, cancellable, title, meaning). The title names the method where it
// is shown running.
#define ORVX_DEVICE_METHODS(M)                                                                                         \
    M(ModeChange, 0, false, "Mode change", "to the mode ModeToSet holds")                                              \
    M(TerminalBoardTest, 3, true, "Terminal board test", "tests the ESD circuit")                                      \
    M(PartialStrokeTest, 4, true, "Partial stroke test", "strokes the valve by the PST travel and back")               \
    M(WriteParameters, 5, false, "Write parameters", "stores the configured identity and air action")                  \
    M(Reset, 6, false, "Reset", "puts the basic configuration and calibration back to their defaults")                 \
    M(FindStops, 8, true, "Find stops", "strokes the valve to both stops and stores them")                             \
    M(ManualStopsDriveLow, 9, true, "Drive to low stop", "starts a manual find stops at the low stop")                 \
    M(ManualStopsDriveHigh, 10, true, "Drive to high stop", "drives to the high stop")                                 \
    M(ManualStopsAcceptLow, 11, false, "Accept low stop", "takes the low stop the valve was driven to")                \
    M(Autotune, 12, true, "Autotune", "measures the valve and stores a tuning")                                        \
    M(TuningWrite, 13, false, "Tuning write", "stores the tuning parameters")                                          \
    M(FullOpen, 14, true, "Full open", "drives the valve open, in manual mode")                                        \
    M(FullClose, 15, true, "Full close", "drives the valve closed, in manual mode")                                    \
    M(ToManualSetpoint, 16, true, "Drive to setpoint", "drives the valve to ManualSetpoint, in manual mode")           \
    M(FixAnalogOutput, 17, false, "Fix analog output", "holds the retransmitter at AnalogOutput")                      \
    M(ReleaseAnalogOutput, 18, false, "Release analog output", "gives the retransmitter back to the position")         \
    M(WritePstSchedule, 19, false, "Schedule write", "starts the PST schedule over from the written one")              \
    M(ClearCurrentFaults, 20, false, "Clear current faults", "clears the current faults")                              \
    M(ClearAllFaults, 21, false, "Clear all faults", "clears the current and the historical faults")                   \
    M(Cancel, 23, false, "Cancel", "stops the running method, when it can be stopped")                                 \
    M(LoadPstData, 27, false, "Loading PST data", "loads the last PST's signature into the curve parameters")          \
    M(TuningRead, 28, false, "Tuning read", "reads the stored tuning back into the parameters")                        \
    M(WritePollingAddress, 29, false, "Write polling address", "stores PollingAddress")                                \
    M(ApplyPstSettings, 30, false, "Apply PST settings", "stores the PST settings")                                    \
    M(ManualStopsAcceptHigh, 31, false, "Accept high stop", "takes the high stop and stores both")                     \
    M(LoadEsdEvents, 33, false, "Loading ESD events", "loads the last ESD event into the exhaust curve")

// Notification codes the business object sends on its own, and its failure codes:
// N(name, code, meaning). A method's success is 500 plus its number (code::resultOf).
#define ORVX_DEVICE_NOTIFICATIONS(N)                                                                                   \
    N(StateDocument, 1, "the value is the new state document")                                                         \
    N(PstScheduleNotDownloaded, 100, "the PST schedule did not reach the device")                                      \
    N(DataReloaded, 501, "every parameter was read again")                                                             \
    N(DataRefreshed, 502, "the parameters were refreshed")                                                             \
    N(NewValues, 524, "new live values; the mode may have changed")                                                    \
    N(IdentityChanged, 525, "the device's identity changed")                                                           \
    N(StatusChanged, 526, "the device's status changed")                                                               \
    N(NotSupported, -1, "the device knows no such method; the value names it")                                         \
    N(Busy, -2, "the device is busy; the value names the method it did not start")                                     \
    N(FailedInDevice, -6, "the method failed or was cancelled in the device; the value names it")                      \
    N(Revalidate, -7, "the pages check their entries again; the value says which pages")
