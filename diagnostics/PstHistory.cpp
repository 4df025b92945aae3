#include "PstHistory.h"

#include "NvEsdDataFileSvr.h"
#include "SignatureAnalysis.h"
#include "controls/PressureUnit.h"
#include "device/DataFileLines.h"
#include "device/DeviceNames.h"

#include <QFileInfo>

#include <algorithm>

namespace orvx::diagnostics {

namespace {

// Read off the signature: the values line keeps whole numbers, which in bar are all 0 or 1.
std::array<std::optional<double>, 4> valuesOf(const DiagRecord& record)
{
    const SignatureFigures figures = analyseRecord(record);
    std::optional<double> springRange;
    if (figures.lowerSpring && figures.upperSpring)
        springRange = *figures.upperSpring - *figures.lowerSpring;
    return {figures.friction, figures.breakaway, figures.droop, springRange};
}

}  // namespace

QString historyValueName(HistoryValue value)
{
    switch (value) {
    case HistoryValue::Friction: return QStringLiteral("friction");
    case HistoryValue::Breakaway: return QStringLiteral("breakaway");
    case HistoryValue::Droop: return QStringLiteral("droop");
    case HistoryValue::SpringRange: return QStringLiteral("spring range");
    }
    return {};
}

std::vector<TrendLimit> historyLimits(HistoryValue value, const std::optional<PstLimits>& limits)
{
    if (!limits)
        return {};
    using enum TrendLimit::Side;
    switch (value) {
    case HistoryValue::Friction:
        return {{QStringLiteral("low limit"), limits->frictionLow, Lower},
                {QStringLiteral("high limit"), limits->frictionHigh, Upper}};
    case HistoryValue::Breakaway: return {{QStringLiteral("breakout limit"), limits->breakout, Upper}};
    case HistoryValue::Droop: return {{QStringLiteral("droop limit"), limits->droop, Upper}};
    case HistoryValue::SpringRange: return {};
    }
    return {};
}

QDateTime recordTime(const QString& dateTime)
{
    const QDateTime when = QDateTime::fromString(dateTime.trimmed(), QStringLiteral("MM/dd/yyyy HH:mm:ss"));
    return when.isValid() ? when : QDateTime();
}

double historyDay(const QDateTime& when)
{
    return trendDay(when.date(), when.time().msecsSinceStartOfDay() / 1000);
}

HistoryReadOutcome CPstHistory::AddFile(CNvEsdDataFileSvr& file)
{
    HistoryReadOutcome outcome;
    const QString name = QFileInfo(file.Path()).fileName();
    std::vector<DatedRecord> found;
    for (const RecordKey& key : file.ListRecords()) {
        QString tag = key.tag;
        while (tag.endsWith(QLatin1Char(' ')))
            tag.chop(1);
        bool idOk = false;
        const std::int32_t id = key.deviceId.trimmed().toInt(&idOk);
        if (key.kind != device::latin1(device::datafile::kPstKind) || tag != m_tag || !idOk || id != m_deviceId)
            continue;
        const QDateTime when = recordTime(key.dateTime);
        if (!when.isValid()) {
            outcome.error = QStringLiteral("A test of %1 in %2 has no readable date (\"%3\"); nothing was added.")
                                .arg(m_tag, name, key.dateTime.trimmed());
            return outcome;
        }
        const std::optional<DiagRecord> record = file.ReadRecord(key);
        if (!record) {
            outcome.error = QStringLiteral("The test of %1 on %2 in %3 could not be read: %4; nothing was added.")
                                .arg(m_tag, key.dateTime.trimmed(), name, file.LastError());
            return outcome;
        }
        found.push_back({when, *record});
    }
    return AddRecords(found, file.Path());
}

HistoryReadOutcome CPstHistory::AddRecords(const std::vector<DatedRecord>& records, const QString& source)
{
    HistoryReadOutcome outcome;
    for (const DatedRecord& dated : records) {
        const DiagRecord& record = dated.record;
        if (record.kind != DiagKind::Pst || record.deviceId != m_deviceId)
            continue;
        HistoryTest test{dated.when, record.Value(RecordValue::PstPassed) != 0, record.Value(RecordValue::PresUnits),
                         valuesOf(record), source};
        const bool known = std::ranges::any_of(m_tests, [&](const HistoryTest& t) {
            return t.when == test.when && t.values == test.values && t.failed == test.failed && t.unit == test.unit;
        });
        if (known) {
            ++outcome.alreadyKnown;
            continue;
        }
        m_tests.push_back(std::move(test));
        ++outcome.added;
    }
    std::ranges::stable_sort(m_tests, {}, &HistoryTest::when);
    if (!m_files.contains(source))
        m_files.append(source);
    return outcome;
}

int CPstHistory::Unit() const
{
    if (m_unit)
        return *m_unit;
    return m_tests.empty() ? static_cast<int>(controls::PressurePsi) : m_tests.back().unit;
}

std::vector<HistoryPoint> CPstHistory::Series(HistoryValue value) const
{
    const int unit = Unit();
    std::vector<HistoryPoint> points;
    points.reserve(m_tests.size());
    for (const HistoryTest& test : m_tests) {
        const std::optional<double>& v = test.values[static_cast<std::size_t>(value)];
        if (!v)
            continue;
        points.push_back(
            {test.when,
             controls::convertPressure(*v, static_cast<std::uint32_t>(test.unit), static_cast<std::uint32_t>(unit)),
             test.failed});
    }
    return points;
}

TrendProjection CPstHistory::Project(HistoryValue value, const std::optional<PstLimits>& limits) const
{
    std::vector<TrendPoint> points;
    for (const HistoryPoint& p : Series(value))
        points.push_back({historyDay(p.when), p.value});
    return projectTrend(points, historyLimits(value, limits));
}

}  // namespace orvx::diagnostics
