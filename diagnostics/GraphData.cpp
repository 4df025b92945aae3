#include "GraphData.h"

#include "controls/PressureUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvx::diagnostics {

namespace {

void widen(DataRange& range, const Curve& curve)
{
    for (int i = 0; i < pointCount(curve); ++i) {
        const float pressure = curve.pressure[static_cast<std::size_t>(i)];
        const float position = curve.position[static_cast<std::size_t>(i)];
        range.pressureMin = std::min(range.pressureMin, pressure);
        range.pressureMax = std::max(range.pressureMax, pressure);
        range.positionMin = std::min(range.positionMin, position);
        range.positionMax = std::max(range.positionMax, position);
    }
}

}  // namespace

int pointCount(const Curve& curve)
{
    return static_cast<int>(std::min(curve.position.size(), curve.pressure.size()));
}

void CGraphData::SetSampling(int intervalMs, int unitCode)
{
    m_intervalMs = intervalMs;
    m_unitCode = unitCode;
}

DataRange CGraphData::Range() const
{
    DataRange range;
    const Curve& fill = m_record.curve2;
    if (pointCount(fill) > 0) {
        range.pressureMin = range.pressureMax = fill.pressure.front();
        range.positionMin = range.positionMax = fill.position.front();
    }
    widen(range, fill);
    widen(range, m_record.curve1);
    return range;
}

TimeSeries CGraphData::Series() const
{
    TimeSeries series;
    for (const Curve* curve : {&m_record.curve1, &m_record.curve2}) {
        const auto count = static_cast<std::ptrdiff_t>(pointCount(*curve));
        series.pressure.insert(series.pressure.end(), curve->pressure.begin(), curve->pressure.begin() + count);
        series.position.insert(series.position.end(), curve->position.begin(), curve->position.begin() + count);
    }
    const double step = IntervalKnown() ? m_intervalMs / 1000.0 : 1.0;
    series.time.reserve(series.position.size());
    for (std::size_t i = 0; i < series.position.size(); ++i)
        series.time.push_back(static_cast<float>(static_cast<double>(i) * step));
    return series;
}

float CGraphData::TimeSpan() const
{
    const double samples = pointCount(m_record.curve1) + pointCount(m_record.curve2);
    return static_cast<float>(IntervalKnown() ? samples * m_intervalMs / 1000.0 : samples);
}

QString CGraphData::TimeCaption() const
{
    return QString::fromLatin1(IntervalKnown() ? kTimeCaption : kSampleCaption);
}

ShownRange applyMinimumSpan(ShownRange range, RangeAxis edited)
{
    float& low = edited == RangeAxis::X ? range.xLow : range.yLow;
    const float high = edited == RangeAxis::X ? range.xHigh : range.yHigh;
    if (high - low < kMinimumSpan)
        low = high - kMinimumSpan;
    return range;
}

std::optional<float> graphNumber(const QString& text)
{
    // QString::toDouble reads the C locale and refuses group separators.
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

QString formatGraphValue(double value)
{
    return QString::number(value, 'g', 6);
}

QString graphUnitName(int unitCode)
{
    return controls::pressureUnitWord(unitCode < 0 ? 0 : static_cast<std::uint32_t>(unitCode));
}

QString pressureCaption(int unitCode)
{
    return QStringLiteral("Pressure - ") + graphUnitName(unitCode);
}

}  // namespace orvx::diagnostics
