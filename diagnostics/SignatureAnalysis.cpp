#include "SignatureAnalysis.h"

#include "GraphData.h"
#include "controls/PressureUnit.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace orvx::diagnostics {

namespace {

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

    // Where the exhaust stroke took the valve: the sample farthest from the start.
    Sample end = start;
    for (const Sample& s : down)
        if (std::abs(s.position - start.position) > std::abs(end.position - start.position))
            end = s;
    if (at(end.position, start.position))
        return figures;  // the valve never moved: the signature says nothing about it

    for (const Sample& s : down) {
        if (!at(s.position, start.position)) {
            figures.breakaway = start.pressure - s.pressure;
            break;
        }
    }

    // The valve has moved, so it arrived at its end at some sample.
    const std::size_t held = *arrival(down, end.position);
    double lowest = down[held].pressure;
    for (std::size_t i = held; i < down.size(); ++i)
        lowest = std::min(lowest, down[i].pressure);
    figures.droop = down[held].pressure - lowest;
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
