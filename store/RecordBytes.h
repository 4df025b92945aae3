#pragma once

#include "diagnostics/DiagRecord.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

namespace orvx::store {

// A record's numbers as the store keeps them: little-endian 32-bit integers and floats, so that
// SQLite and PostgreSQL hold the same bytes and a record reads back exactly.
QByteArray valuesBytes(const diagnostics::DiagRecord& record);
QByteArray curveBytes(const std::vector<float>& samples);
bool readValues(const QByteArray& bytes, diagnostics::DiagRecord& record);
bool readCurve(const QByteArray& bytes, std::vector<float>& samples);

// What makes a record the same record: its kind, tag, device, time and every number, hashed,
// and the device's count of seconds at the test when it was read off the device.
QString contentHash(const diagnostics::DiagRecord& record, const QDateTime& takenAt,
                    std::optional<qint64> deviceCount = std::nullopt);
// What makes a record the same test of the valve, whenever and under whichever tag it was read:
// its kind, device and every number, and for a test read off the device the device's count of
// seconds at the test (two tests of a valve may give the same numbers; a simulated one does).
// Two programs reading one test off a device, or a test saved in two data files at two times,
// make one test.
QString testHash(const diagnostics::DiagRecord& record, std::optional<qint64> deviceCount);

}  // namespace orvx::store
