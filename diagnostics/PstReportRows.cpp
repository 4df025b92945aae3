#include "PstReportRows.h"

#include "GraphData.h"

namespace orvx::diagnostics {

std::vector<PstReportRow> pstReportRows(const DiagRecord& record, const std::optional<PstLimits>& limits)
{
    const QString unit = QLatin1Char(' ') + graphUnitName(record.Value(RecordValue::PresUnits));
    const auto pressure = [&](RecordValue which) { return QString::number(record.Value(which)) + unit; };
    const auto seconds = [&](RecordValue which) { return QString::number(record.Value(which)) + QStringLiteral(" s"); };
    const auto below = [&](double limit) { return QStringLiteral("below ") + formatGraphValue(limit) + unit; };
    // A graded row, or the same row ungraded when the limits are not known.
    const auto graded = [&](const char* name, RecordValue which, auto limitText, auto grade) {
        const QString title = QString::fromLatin1(name);
        if (!limits)
            return PstReportRow{title, pressure(which), QString::fromLatin1(kLimitNotStored), std::nullopt};
        return PstReportRow{title, pressure(which), limitText(*limits), grade(record.Value(which), *limits)};
    };
    const auto ungraded = [](const char* name, const QString& value) {
        return PstReportRow{QString::fromLatin1(name), value, {}, std::nullopt};
    };

    const int passed = record.Value(RecordValue::PstPassed);
    return {
        PstReportRow{QStringLiteral("PST passed flag"), QString::number(passed), {}, gradePassedFlag(passed)},
        graded(
            "Friction", RecordValue::Friction,
            [&](const PstLimits& l) {
                return QStringLiteral("above %1, below %2")
                           .arg(formatGraphValue(l.frictionLow), formatGraphValue(l.frictionHigh)) +
                       unit;
            },
            [](int v, const PstLimits& l) { return gradeFriction(v, l.frictionLow, l.frictionHigh); }),
        graded(
            "Breakaway pressure", RecordValue::BreakAwayPres, [&](const PstLimits& l) { return below(l.breakout); },
            [](int v, const PstLimits& l) { return gradeBelowLimit(v, l.breakout); }),
        graded(
            "Droop", RecordValue::Droop, [&](const PstLimits& l) { return below(l.droop); },
            [](int v, const PstLimits& l) { return gradeBelowLimit(v, l.droop); }),
        ungraded("Spring range, lower", pressure(RecordValue::LSpringRange)),
        ungraded("Spring range, upper", pressure(RecordValue::USpringRange)),
        ungraded("Response time, exhaust", seconds(RecordValue::RspTimeExhaust)),
        ungraded("Response time, fill", seconds(RecordValue::RspTimeFill)),
    };
}

}  // namespace orvx::diagnostics
