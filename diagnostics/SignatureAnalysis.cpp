#include "SignatureAnalysis.h"

#include "GraphData.h"
#include "controls/PressureUnit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace orvx::diagnostics {

namespace {

// The valve is at rest at the end of the exhaust stroke once it stays there this long.
constexpr int kSettledMs = 500;

struct Sample {
    double position;
    double pressure;
};

// The points of a curve as doubles, as many as both its sequences hold; none at all when one
// of them is not a finite number (a data file may hold "nan"), as nothing sound follows from it.
std::vector<Sample> samplesOf(const Curve& curve)
{
    std::vector<Sample> samples;
    const auto count = static_cast<std::size_t>(pointCount(curve));
    samples.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::isfinite(curve.position[i]) || !std::isfinite(curve.pressure[i]))
            return {};
        samples.push_back({curve.position[i], curve.pressure[i]});
    }
    return samples;
}

bool at(double position, double place)
{
    return std::abs(position - place) <= kMovedPercent;
}

// The index of the first sample at `place`, if any.
std::optional<std::size_t> arrival(const std::vector<Sample>& curve, double place)
{
    for (std::size_t i = 0; i < curve.size(); ++i)
        if (at(curve[i].position, place))
            return i;
    return std::nullopt;
}

// The pressure where the curve first passes `position`, on the line between the two samples
// around it.
std::optional<double> pressureWhere(const std::vector<Sample>& curve, double position)
{
    for (std::size_t i = 1; i < curve.size(); ++i) {
        const Sample& a = curve[i - 1];
        const Sample& b = curve[i];
        if (a.position == b.position || (position - a.position) * (position - b.position) > 0)
            continue;
        return a.pressure + (b.pressure - a.pressure) * (position - a.position) / (b.position - a.position);
    }
    return std::nullopt;
}

std::optional<double> seconds(std::size_t index, int intervalMs)
{
    if (intervalMs <= 0)
        return std::nullopt;
    return static_cast<double>(index) * intervalMs / 1000.0;
}

// The first sample that has moved from the first one, if any.
std::optional<std::size_t> firstMoved(const std::vector<Sample>& curve)
{
    for (std::size_t i = 1; i < curve.size(); ++i)
        if (!at(curve[i].position, curve.front().position))
            return i;
    return std::nullopt;
}

// Where the exhaust stroke brought the valve to rest: the first sample from `moved` on that
// every sample of the next kSettledMs stays at (the last sample when the stroke never settled).
// The valve may slip later in the dwell, so the farthest sample is not the end of the stroke.
// Without an interval the samples cannot be timed: the end is the first arrival at the
// farthest sample.
std::size_t endOfStroke(const std::vector<Sample>& curve, std::size_t moved, int intervalMs)
{
    if (intervalMs <= 0) {
        std::size_t farthest = moved;
        for (std::size_t i = moved; i < curve.size(); ++i)
            if (std::abs(curve[i].position - curve.front().position) >
                std::abs(curve[farthest].position - curve.front().position))
                farthest = i;
        return *arrival(curve, curve[farthest].position);
    }
    const std::size_t window = static_cast<std::size_t>((kSettledMs + intervalMs - 1) / intervalMs);
    for (std::size_t i = moved; i < curve.size(); ++i) {
        bool settled = true;
        for (std::size_t j = i + 1; j < curve.size() && j <= i + window && settled; ++j)
            settled = at(curve[j].position, curve[i].position);
        if (settled)
            return i;
    }
    return curve.size() - 1;
}

// The largest fall of the pressure from any sample at or after `from` to a later one: a
// positioner filling a leaking actuator back makes the dwell a saw-tooth.
double largestFall(const std::vector<Sample>& curve, std::size_t from)
{
    double highest = curve[from].pressure;
    double fall = 0;
    for (std::size_t i = from; i < curve.size(); ++i) {
        highest = std::max(highest, curve[i].pressure);
        fall = std::max(fall, highest - curve[i].pressure);
    }
    return fall;
}

}  // namespace

SignatureFigures analyseSignature(const Curve& exhaust, const Curve& fill, int intervalMs, std::uint32_t unitCode)
{
    SignatureFigures figures;
    figures.unitCode = unitCode;
    const std::vector<Sample> down = samplesOf(exhaust);
    const std::vector<Sample> up = samplesOf(fill);
    if (down.empty())
        return figures;
    const Sample start = down.front();

    const std::optional<std::size_t> moved = firstMoved(down);
    if (!moved) {
        // The valve never broke away: all the signature says is that the pressure fell this far
        // without moving it.
        double lowest = start.pressure;
        for (const Sample& s : down)
            lowest = std::min(lowest, s.pressure);
        figures.breakaway = start.pressure - lowest;
        return figures;
    }
    figures.breakaway = start.pressure - down[*moved].pressure;

    const std::size_t held = endOfStroke(down, *moved, intervalMs);
    const Sample end = down[held];
    figures.droop = largestFall(down, held);
    figures.exhaustTime = seconds(held, intervalMs);
    if (const auto back = arrival(up, start.position))
        figures.fillTime = seconds(*back, intervalMs);

    const double middle = (start.position + end.position) / 2.0;
    const auto exhausting = pressureWhere(down, middle);
    const auto filling = pressureWhere(up, middle);
    if (exhausting && filling) {
        figures.friction = (*filling - *exhausting) / 2.0;
        // The spring line through the pressure at rest before the test and the middle of the
        // friction band half-way, at both ends of travel.
        const double slope = ((*filling + *exhausting) / 2.0 - start.pressure) / (middle - start.position);
        const double atClosed = start.pressure - slope * start.position;
        const double atOpen = atClosed + slope * 100.0;
        figures.lowerSpring = std::min(atClosed, atOpen);
        figures.upperSpring = std::max(atClosed, atOpen);
    }
    return figures;
}

SignatureFigures analyseRecord(const DiagRecord& record)
{
    return analyseSignature(record.curve1, record.curve2, record.Value(RecordValue::Interval),
                            static_cast<std::uint32_t>(record.Value(RecordValue::PresUnits)));
}

SignatureFigures convertFigures(SignatureFigures figures, std::uint32_t toUnit)
{
    for (auto* pressure :
         {&figures.friction, &figures.breakaway, &figures.droop, &figures.lowerSpring, &figures.upperSpring})
        if (*pressure)
            **pressure = controls::convertPressure(**pressure, figures.unitCode, toUnit);
    figures.unitCode = toUnit;
    return figures;
}

}  // namespace orvx::diagnostics
