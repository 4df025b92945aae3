#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace orvx::diagnostics {

// What a graph shows and a data file keeps: a partial stroke test's signature or an ESD event.
enum class DiagKind { Pst = 0, Esd = 1 };

// One stroke of the valve: position (%) against actuator pressure, point by point; both
// sequences have the same length. In a data file position is column fX, pressure column fY.
// The most points one curve may hold, from a device text or a data file: a stroke sampled
// every 10 ms for over 16 minutes. More is refused, not read.
inline constexpr int kMaxCurvePoints = 100'000;

struct Curve {
    std::vector<float> position;
    std::vector<float> pressure;

    int Count() const { return static_cast<int>(position.size()); }
    bool Empty() const { return position.empty(); }
    bool operator==(const Curve&) const = default;
};

// The fifteen record values after PstData, in file order.
enum class RecordValue {
    PstPassed,
    Friction,
    PstTravel,
    USpringRange,
    LSpringRange,
    BreakAwayPres,
    Droop,
    RspTimeFill,
    RspTimeExhaust,
    PstStart,
    PstSpeed,
    Interval,
    PresUnits,
    NumSamplesUp,
    NumSamplesDown,
};
inline constexpr int kRecordValueCount = 15;

// One saved curve set. Curve 1 is the exhaust stroke (the only curve of an ESD event), curve 2
// the fill stroke.
struct DiagRecord {
    DiagKind kind = DiagKind::Pst;
    QString tag;
    std::int32_t deviceId = 0;
    std::array<std::int32_t, kRecordValueCount> values{};
    Curve curve1;
    Curve curve2;

    std::int32_t Value(RecordValue which) const { return values[static_cast<int>(which)]; }
    void SetValue(RecordValue which, std::int32_t value) { values[static_cast<int>(which)] = value; }
    bool operator==(const DiagRecord&) const = default;
};

// How a record is found in a file: the first four fields of its header line, exactly as they
// stand there (the tag keeps its padding, the time stamp its line end).
struct RecordKey {
    QString kind;
    QString tag;
    QString deviceId;
    QString dateTime;

    bool operator==(const RecordKey&) const = default;
};

}  // namespace orvx::diagnostics
