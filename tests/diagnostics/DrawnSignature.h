#pragma once

// PST signatures drawn to order, so that a test can say which figures the curves must give.

#include "diagnostics/DiagRecord.h"

#include <QString>
#include <QStringList>

#include <cstdlib>

namespace orvx::test {

// A valve whose spring line runs from `springAtClosed` at 0 % to `springAtOpen` at 100 % (the
// other way round for air to close), stroked by `travel` percent (negative: the exhaust stroke
// lowers the position) from `start`, one percent per sample. Pressures in whatever unit the
// record is kept in.
struct DrawnValve {
    double start = 50;
    double travel = -10;
    double springAtClosed = 15;
    double springAtOpen = 35;
    double friction = 3;
    double breakaway = 3.3;
    double droop = 0.3;

    double Spring(double position) const { return springAtClosed + (springAtOpen - springAtClosed) * position / 100.0; }
    double End() const { return start + travel; }
    int Steps() const { return std::abs(static_cast<int>(travel)); }
    // The sample the valve gets to the end of its exhaust stroke, and back to its start.
    int ExhaustArrival() const { return 2 + Steps(); }
    int FillArrival() const { return 1 + Steps(); }
};

inline void addPoint(diagnostics::Curve& curve, double position, double pressure)
{
    curve.position.push_back(static_cast<float>(position));
    curve.pressure.push_back(static_cast<float>(pressure));
}

// Curve 1: at rest, the pressure falling while the valve sticks, a slip as it breaks away, the
// stroke below the spring line by the friction, then the dwell sagging by the droop.
inline diagnostics::Curve drawnExhaust(const DrawnValve& v)
{
    diagnostics::Curve curve;
    const auto add = [&curve](double position, double pressure) { addPoint(curve, position, pressure); };
    const double step = v.travel < 0 ? -1 : 1;
    add(v.start, v.Spring(v.start));
    add(v.start, v.Spring(v.start) - v.breakaway / 2);
    add(v.start + step * 0.5, v.Spring(v.start) - v.breakaway);
    for (int k = 1; k <= v.Steps(); ++k)
        add(v.start + step * k, v.Spring(v.start + step * k) - v.friction);
    const double held = v.Spring(v.End()) - v.friction;
    add(v.End(), held - v.droop / 2);
    add(v.End(), held - v.droop);
    add(v.End(), held - v.droop);
    return curve;
}

// Curve 2: the pressure rising while the valve sticks at the end, then the stroke back above the
// spring line by the friction.
inline diagnostics::Curve drawnFill(const DrawnValve& v)
{
    diagnostics::Curve curve;
    const auto add = [&curve](double position, double pressure) { addPoint(curve, position, pressure); };
    const double step = v.travel < 0 ? 1 : -1;
    add(v.End(), v.Spring(v.End()) - v.friction - v.droop);
    add(v.End(), v.Spring(v.End()) + v.breakaway);
    for (int k = 1; k <= v.Steps(); ++k)
        add(v.End() + step * k, v.Spring(v.End() + step * k) + v.friction);
    return curve;
}

// A PST record of PV-01, id 42, with the drawn signature in `unit`, sampled every `intervalMs`.
// Its values line holds 0 for every result, as a data file keeps fractions of a unit.
inline diagnostics::DiagRecord drawnRecord(const DrawnValve& valve, int unit = 6, int intervalMs = 100, int passed = 0)
{
    using diagnostics::RecordValue;
    diagnostics::DiagRecord record;
    record.tag = QStringLiteral("PV-01");
    record.deviceId = 42;
    record.SetValue(RecordValue::PstPassed, passed);
    record.SetValue(RecordValue::Interval, intervalMs);
    record.SetValue(RecordValue::PresUnits, unit);
    record.curve1 = drawnExhaust(valve);
    record.curve2 = drawnFill(valve);
    return record;
}

// A curve as the device sends it: "pressure@position@...", four decimals.
inline QString curveText(const diagnostics::Curve& curve)
{
    QStringList fields;
    for (std::size_t i = 0; i < curve.position.size(); ++i)
        fields << QString::number(curve.pressure[i], 'f', 4) << QString::number(curve.position[i], 'f', 4);
    return fields.join(QLatin1Char('@'));
}

}  // namespace orvx::test
