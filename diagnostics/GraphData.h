#pragma once

#include "DiagRecord.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvx::diagnostics {

// Lowest and highest pressure and position of the curves.
struct DataRange {
    float pressureMin = 0;
    float pressureMax = 0;
    float positionMin = 0;
    float positionMax = 0;

    bool operator==(const DataRange&) const = default;
};

// The part of the plane a graph shows: X along the bottom, Y up the side.
struct ShownRange {
    float xLow = 0;
    float xHigh = 0;
    float yLow = 0;
    float yHigh = 0;

    bool operator==(const ShownRange&) const = default;
};

// Both strokes one after the other against time: the exhaust stroke (curve 1), then the fill
// stroke (curve 2), one sample every sampling interval from 0 s on. With the interval unknown
// the samples are numbered from 0 instead: no time is made up.
struct TimeSeries {
    std::vector<float> time;  // seconds, or the sample number
    std::vector<float> pressure;
    std::vector<float> position;
};

// The points a curve holds: the length of the shorter of its two sequences, so that a curve
// read from a damaged file never makes anyone read past one of them.
int pointCount(const Curve& curve);

// Which pair of range edits the user changed.
enum class RangeAxis { X, Y };

// The smallest span a shown range may have on either axis.
inline constexpr float kMinimumSpan = 0.1f;

// What a diagnostic graph shows: the record with its two curves, and how the device sampled
// them (interval in milliseconds, HART pressure unit code).
class CGraphData {
public:
    DiagRecord& Record() { return m_record; }
    const DiagRecord& Record() const { return m_record; }
    // Curve 1 (exhaust) or 2 (fill); any other number means curve 2.
    Curve& CurveOf(int which) { return which == 1 ? m_record.curve1 : m_record.curve2; }

    // An interval of 0 or less is unknown.
    void SetSampling(int intervalMs, int unitCode);
    int IntervalMs() const { return m_intervalMs; }
    bool IntervalKnown() const { return m_intervalMs > 0; }
    int UnitCode() const { return m_unitCode; }

    // The range starts at the fill stroke's first point (all 0 without one) and widens over
    // the fill stroke, then over the exhaust stroke.
    DataRange Range() const;
    TimeSeries Series() const;
    // The length of the time series: all samples of both strokes times the interval, in
    // seconds; with the interval unknown, the number of samples.
    float TimeSpan() const;
    // The caption of the time axis: kTimeCaption, or kSampleCaption with the interval unknown.
    QString TimeCaption() const;

private:
    DiagRecord m_record;
    int m_intervalMs = 0;
    int m_unitCode = 0;
};

// The range after the user changed an edit of `edited`: a span on that axis below kMinimumSpan
// moves its low end to the high end minus the minimum span. The other axis stays as it is.
ShownRange applyMinimumSpan(ShownRange range, RangeAxis edited);

// A number as the device and the range edits write it: decimal, C locale, blanks around it
// allowed; none when the text is empty, no number, not finite or beyond what a float holds.
std::optional<float> graphNumber(const QString& text);

// A value as the graph's edits show it: 6 significant digits, C locale.
QString formatGraphValue(double value);

// "psi", "bar" or "kpa" for HART codes 6, 7 and 12; psi for any other code.
QString graphUnitName(int unitCode);
// "Pressure - <unit>".
QString pressureCaption(int unitCode);
inline constexpr const char* kPositionCaption = "Position (%)";
inline constexpr const char* kTimeCaption = "Time (sec)";
inline constexpr const char* kSampleCaption = "Sample (sampling interval unknown)";

}  // namespace orvx::diagnostics
