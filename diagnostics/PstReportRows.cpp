#include "PstReportRows.h"

#include "GraphData.h"

namespace orvx::diagnostics {

namespace {

// Four significant digits: the figures are read off a signature kept to four decimals.
QString figureText(double value)
{
    return QString::number(value, 'g', 4);
}

}  // namespace

std::vector<PstReportRow> pstReportRows(int passedFlag, const SignatureFigures& figures,
                                        const std::optional<PstLimits>& limits)
{
    const QString unit = QLatin1Char(' ') + graphUnitName(static_cast<int>(figures.unitCode));
    const auto shown = [](const std::optional<double>& figure, const QString& inUnit) {
        return figure ? figureText(*figure) + inUnit : QString::fromLatin1(kNotGiven);
    };
    const auto below = [&](double limit) { return QStringLiteral("below ") + formatGraphValue(limit) + unit; };
    // A graded row, or the same row ungraded when the limits or the figure are not known.
    const auto graded = [&](const char* name, const std::optional<double>& figure, auto limitText, auto grade) {
        PstReportRow row{QString::fromLatin1(name), shown(figure, unit), QString::fromLatin1(kLimitNotStored),
                         std::nullopt};
        if (limits) {
            row.limit = limitText(*limits);
            if (figure)
                row.grade = grade(*figure, *limits);
        }
        return row;
    };
    const auto ungraded = [](const char* name, const QString& value) {
        return PstReportRow{QString::fromLatin1(name), value, {}, std::nullopt};
    };

    return {
        PstReportRow{QStringLiteral("PST passed flag"), QString::number(passedFlag), {}, gradePassedFlag(passedFlag)},
        graded(
            "Friction", figures.friction,
            [&](const PstLimits& l) {
                return QStringLiteral("above %1, below %2")
                           .arg(formatGraphValue(l.frictionLow), formatGraphValue(l.frictionHigh)) +
                       unit;
            },
            [](double v, const PstLimits& l) { return gradeFriction(v, l.frictionLow, l.frictionHigh); }),
        graded(
            "Breakaway pressure", figures.breakaway, [&](const PstLimits& l) { return below(l.breakout); },
            [](double v, const PstLimits& l) { return gradeBelowLimit(v, l.breakout); }),
        graded(
            "Droop", figures.droop, [&](const PstLimits& l) { return below(l.droop); },
            [](double v, const PstLimits& l) { return gradeBelowLimit(v, l.droop); }),
        ungraded("Spring range, lower", shown(figures.lowerSpring, unit)),
        ungraded("Spring range, upper", shown(figures.upperSpring, unit)),
        ungraded("Response time, exhaust", shown(figures.exhaustTime, QStringLiteral(" s"))),
        ungraded("Response time, fill", shown(figures.fillTime, QStringLiteral(" s"))),
    };
}

}  // namespace orvx::diagnostics
