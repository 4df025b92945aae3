#include "plant/WearProjection.h"

#include "controls/PressureUnit.h"
#include "diagnostics/PstHistory.h"
#include "diagnostics/SignatureAnalysis.h"
#include "diagnostics/SignatureComparison.h"
#include "diagnostics/TrendProjection.h"

#include <array>
#include <vector>

namespace orvx::plant {

namespace {

using diagnostics::HistoryValue;

// The values the history window follows, off one signature, in the limits' unit.
std::array<std::optional<double>, 4> historyValues(const diagnostics::DiagRecord& record, std::uint32_t unit)
{
    const diagnostics::SignatureFigures f = diagnostics::convertFigures(diagnostics::analyseRecord(record), unit);
    std::optional<double> springRange;
    if (f.lowerSpring && f.upperSpring)
        springRange = *f.upperSpring - *f.lowerSpring;
    return {f.friction, f.breakaway, f.droop, springRange};
}

bool isPst(const store::StoredRecord& kept)
{
    return kept.record.kind == diagnostics::DiagKind::Pst;
}

}  // namespace

QString wearProjection(const QList<store::StoredRecord>& tests, const WearLimits& limits)
{
    // Each signature is read once; the four series are drawn from the same figures.
    std::array<std::vector<diagnostics::TrendPoint>, 4> series;
    for (const store::StoredRecord& kept : tests) {
        if (!isPst(kept) || !kept.takenAt.isValid())
            continue;
        const double day = diagnostics::historyDay(kept.takenAt.toUTC());
        const auto values = historyValues(kept.record, limits.unit);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i])
                series[i].push_back({day, *values[i]});
        }
    }
    for (const HistoryValue value : diagnostics::kHistoryValues) {
        const auto& points = series[static_cast<std::size_t>(value)];
        const diagnostics::TrendProjection projection = diagnostics::projectTrend(
            points, diagnostics::historyLimits(value, limits.limits));
        if (projection.Shown())
            return QStringLiteral("%1 reaches the %2 around %3")
                .arg(diagnostics::historyValueName(value), projection.limit->name,
                     projection.crossing->toString(QStringLiteral("yyyy-MM")));
    }
    return {};
}

QStringList wearAgainstBaseline(const store::StoredRecord& last, const store::StoredRecord& baseline)
{
    if (!isPst(last) || !isPst(baseline))
        return {};
    const diagnostics::SignatureFigures current = diagnostics::analyseRecord(last.record);
    const auto rows = diagnostics::compareFigures(current, diagnostics::analyseRecord(baseline.record), std::nullopt);
    const QString unit = controls::pressureUnitWord(current.unitCode);
    const QDate since = baseline.takenAt.toUTC().date();
    QStringList lines;
    for (std::size_t row = 0; row < 3; ++row)  // friction, breakaway and droop, as the summary shows
        lines.append(diagnostics::changeSince(rows[row], unit, since));
    return lines;
}

}  // namespace orvx::plant
