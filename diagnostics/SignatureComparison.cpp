#include "SignatureComparison.h"

#include "controls/PressureUnit.h"

#include <QRegularExpression>

#include <cmath>

namespace orvx::diagnostics {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 3);
}

}  // namespace

std::optional<double> ComparisonRow::Percent() const
{
    if (baseline == 0)
        return std::nullopt;
    return Difference() / std::abs(baseline) * 100.0;
}

std::vector<ComparisonRow> compareResults(const PstResults& current, const PstResults& baseline,
                                          const std::optional<PstLimits>& limits)
{
    const auto row = [&](const char* name, bool pressure, double PstResults::*value) {
        ComparisonRow made;
        made.name = name;
        made.pressure = pressure;
        made.current = current.*value;
        made.baseline = baseline.*value;
        return made;
    };
    std::vector<ComparisonRow> rows = {
        row("Friction", true, &PstResults::friction),
        row("Breakaway", true, &PstResults::breakaway),
        row("Droop", true, &PstResults::droop),
        row("Spring Range, Lower", true, &PstResults::lowerSpring),
        row("Spring Range, Upper", true, &PstResults::upperSpring),
        row("Response Time, Exhaust", false, &PstResults::exhaustTime),
        row("Response Time, Fill", false, &PstResults::fillTime),
    };
    if (!limits)
        return rows;
    const auto grade = [](ComparisonRow& row, auto rule) {
        row.currentGrade = rule(row.current);
        row.baselineGrade = rule(row.baseline);
    };
    grade(rows[0], [&](double v) { return gradeFriction(v, limits->frictionLow, limits->frictionHigh); });
    grade(rows[1], [&](double v) { return gradeBelowLimit(v, limits->breakout); });
    grade(rows[2], [&](double v) { return gradeBelowLimit(v, limits->droop); });
    return rows;
}

PstResults resultsOf(const DiagRecord& record, std::uint32_t unitCode)
{
    PstResults results;
    results.passedFlag = record.Value(RecordValue::PstPassed);
    results.friction = record.Value(RecordValue::Friction);
    results.lowerSpring = record.Value(RecordValue::LSpringRange);
    results.upperSpring = record.Value(RecordValue::USpringRange);
    results.breakaway = record.Value(RecordValue::BreakAwayPres);
    results.droop = record.Value(RecordValue::Droop);
    results.exhaustTime = record.Value(RecordValue::RspTimeExhaust);
    results.fillTime = record.Value(RecordValue::RspTimeFill);
    return convertResults(results, static_cast<std::uint32_t>(record.Value(RecordValue::PresUnits)), unitCode);
}

PstResults convertResults(PstResults results, std::uint32_t fromUnit, std::uint32_t toUnit)
{
    for (double* pressure :
         {&results.friction, &results.lowerSpring, &results.upperSpring, &results.breakaway, &results.droop})
        *pressure = controls::convertPressure(*pressure, fromUnit, toUnit);
    return results;
}

QString percentText(double percent)
{
    const double shown = QString::number(percent, 'g', 3).toDouble();
    if (shown == 0)
        return QStringLiteral("0 %");
    return QStringLiteral("%1%2 %").arg(shown > 0 ? QStringLiteral("+") : QString(), number(shown));
}

QString changeSince(const ComparisonRow& row, const QString& unit, const QDate& baselineDate)
{
    const QString inUnit = row.pressure ? unit : QStringLiteral("s");
    const auto percent = row.Percent();
    const double difference = row.Difference();
    const QString change = percent ? percentText(*percent)
                                   : QStringLiteral("%1%2 %3").arg(difference > 0 ? QStringLiteral("+") : QString(),
                                                                   number(difference), inUnit);
    return QStringLiteral("%1 %2 %3, %4 since %5")
        .arg(QString::fromLatin1(row.name), number(row.current), inUnit, change, baselineDate.toString(Qt::ISODate));
}

QDate recordDate(const QString& dateTime)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})(\\s|$)"));
    const QRegularExpressionMatch match = pattern.match(dateTime);
    if (!match.hasMatch())
        return {};
    return QDate(match.captured(3).toInt(), match.captured(1).toInt(), match.captured(2).toInt());
}

}  // namespace orvx::diagnostics
