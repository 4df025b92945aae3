#include "plant/WearProjection.h"

#include "controls/PressureUnit.h"
#include "diagnostics/PstHistory.h"
#include "diagnostics/SignatureAnalysis.h"
#include "diagnostics/SignatureComparison.h"
#include "diagnostics/TrendProjection.h"

#include <vector>

namespace orvx::plant {

namespace {

bool isPst(const store::StoredRecord& kept)
{
    return kept.record.kind == diagnostics::DiagKind::Pst;
}

}  // namespace

QString wearProjection(const QList<store::StoredRecord>& tests, const WearLimits& limits)
{
    if (tests.isEmpty())
        return {};
    // The history window's own history of the valve, so that figures and rule are its own.
    diagnostics::CPstHistory history(tests.front().record.tag, tests.front().record.deviceId);
    history.SetUnit(static_cast<int>(limits.unit));
    std::vector<diagnostics::DatedRecord> dated;
    for (const store::StoredRecord& kept : tests)
        if (kept.takenAt.isValid())
            dated.push_back({kept.takenAt.toUTC(), kept.record});
    history.AddRecords(dated, QStringLiteral("the plant store"));
    for (const diagnostics::HistoryValue value : diagnostics::kHistoryValues) {
        const diagnostics::TrendProjection projection = history.Project(value, limits.limits);
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
