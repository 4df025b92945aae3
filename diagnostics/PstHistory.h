#pragma once

#include "DiagRecord.h"
#include "PlantRecords.h"
#include "PstGrading.h"
#include "TrendProjection.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvx::diagnostics {

class CNvEsdDataFileSvr;

// The values whose course over the years shows a valve wearing, each read off the test's
// signature (SignatureAnalysis.h). The spring range is the upper less the lower spring range: the spring's rate, one
// number per test on the same scale as the others; a spring that tires loses rate, while both ends moving together is a
// changed bench set, not wear.
enum class HistoryValue { Friction, Breakaway, Droop, SpringRange };
inline constexpr HistoryValue kHistoryValues[] = {HistoryValue::Friction, HistoryValue::Breakaway, HistoryValue::Droop,
                                                  HistoryValue::SpringRange};

// "friction", "breakaway", "droop", "spring range".
QString historyValueName(HistoryValue value);

// The limits a value is held to, from the configured PST limits: friction between its low and
// high limit, breakaway below the breakout limit, droop below its limit; none for the spring
// range, and none at all without limits.
std::vector<TrendLimit> historyLimits(HistoryValue value, const std::optional<PstLimits>& limits);

// One PST of the device as a data file keeps it, its values read off its signature.
struct HistoryTest {
    QDateTime when;  // the record's time stamp
    bool failed = false;
    int unit = 0;                                   // the record's pressure unit
    std::array<std::optional<double>, 4> values{};  // by HistoryValue, in the record's unit; none
                                                    // where the signature does not give it
    QString file;
};

// A point of one value's series, in the history's unit.
struct HistoryPoint {
    QDateTime when;
    double value = 0;
    bool failed = false;
};

// What reading a file added.
struct HistoryReadOutcome {
    int added = 0;
    int alreadyKnown = 0;  // the same test (time stamp and values) read before
    QString error;         // set when nothing was added because the file is unusable

    bool Ok() const { return error.isEmpty(); }
};

// The PST records of one device (tag and device id) gathered from one or more data files, in
// the order of their time stamps.
class CPstHistory {
public:
    CPstHistory(QString tag, std::int32_t deviceId) : m_tag(std::move(tag)), m_deviceId(deviceId) {}

    const QString& Tag() const { return m_tag; }
    std::int32_t DeviceId() const { return m_deviceId; }

    // Reads every complete PST record of this device from an open file. A record of the device
    // whose time stamp does not read refuses the whole file: nothing is added and 'error' says
    // which record. Tests already in the history are counted, not added again. File errors
    // throw CXFileException.
    HistoryReadOutcome AddFile(CNvEsdDataFileSvr& file);
    // Adds the device's PSTs among `records`, each with its time; `source` names where they came
    // from (a file, the plant store). Tests already in the history are counted, not added again.
    HistoryReadOutcome AddRecords(const std::vector<DatedRecord>& records, const QString& source);

    const std::vector<HistoryTest>& Tests() const { return m_tests; }
    bool Empty() const { return m_tests.empty(); }
    // Where the tests came from: data files, the plant store.
    QStringList Files() const { return m_files; }

    // The pressure unit the series are given in: the one set, else the newest test's.
    void SetUnit(int unit) { m_unit = unit; }
    int Unit() const;

    // The tests whose signature gives the value, in time order.
    std::vector<HistoryPoint> Series(HistoryValue value) const;
    TrendProjection Project(HistoryValue value, const std::optional<PstLimits>& limits) const;

private:
    QString m_tag;
    std::int32_t m_deviceId;
    std::optional<int> m_unit;
    std::vector<HistoryTest> m_tests;
    QStringList m_files;
};

// A data file's time stamp ("03/07/2024 09:05:04", the line end allowed); invalid when it does
// not read as a date and time.
QDateTime recordTime(const QString& dateTime);
// The day number of a moment, as TrendProjection counts days.
double historyDay(const QDateTime& when);

}  // namespace orvx::diagnostics
