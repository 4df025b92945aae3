#include "SignatureComparison.h"

#include <QRegularExpression>

#include <cmath>

namespace orvx::diagnostics {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 3);
}

}  // namespace

std::optional<double> ComparisonRow::Difference() const
{
    if (!current || !baseline)
        return std::nullopt;
    return *current - *baseline;
}

std::optional<double> ComparisonRow::Percent() const
{
    const auto difference = Difference();
    if (!difference || *baseline == 0)
        return std::nullopt;
    return *difference / std::abs(*baseline) * 100.0;
}

std::vector<ComparisonRow> compareFigures(const SignatureFigures& current, const SignatureFigures& baseline,
                                          const std::optional<PstLimits>& limits)
{
    const SignatureFigures base = convertFigures(baseline, current.unitCode);
    const auto row = [&](const char* name, bool pressure, std::optional<double> SignatureFigures::*figure) {
        ComparisonRow made;
        made.name = name;
        made.pressure = pressure;
        made.current = current.*figure;
        made.baseline = base.*figure;
        return made;
    };
    std::vector<ComparisonRow> rows = {
        row("Friction", true, &SignatureFigures::friction),
        row("Breakaway", true, &SignatureFigures::breakaway),
        row("Droop", true, &SignatureFigures::droop),
        row("Spring Range, Lower", true, &SignatureFigures::lowerSpring),
        row("Spring Range, Upper", true, &SignatureFigures::upperSpring),
        row("Response Time, Exhaust", false, &SignatureFigures::exhaustTime),
        row("Response Time, Fill", false, &SignatureFigures::fillTime),
    };
    if (!limits)
        return rows;
    const auto grade = [](ComparisonRow& row, auto rule) {
        if (row.current)
            row.currentGrade = rule(*row.current);
        if (row.baseline)
            row.baselineGrade = rule(*row.baseline);
    };
    grade(rows[0], [&](double v) { return gradeFriction(v, limits->frictionLow, limits->frictionHigh); });
    grade(rows[1], [&](double v) { return gradeBelowLimit(v, limits->breakout); });
    grade(rows[2], [&](double v) { return gradeBelowLimit(v, limits->droop); });
    return rows;
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
    const QString name = QString::fromLatin1(row.name);
    const QString inUnit = row.pressure ? unit : QStringLiteral("s");
    const QString since = baselineDate.toString(Qt::ISODate);
    if (!row.current)
        return QStringLiteral("%1: this test's signature gives none").arg(name);
    const QString now = QStringLiteral("%1 %2 %3").arg(name, number(*row.current), inUnit);
    if (!row.baseline)
        return QStringLiteral("%1: the baseline of %2 gives none").arg(now, since);
    const auto percent = row.Percent();
    const double difference = *row.Difference();
    const QString change = percent ? percentText(*percent)
                                   : QStringLiteral("%1%2 %3").arg(difference > 0 ? QStringLiteral("+") : QString(),
                                                                   number(difference), inUnit);
    return QStringLiteral("%1, %2 since %3").arg(now, change, since);
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
