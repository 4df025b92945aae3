#include "store/RecordRows.h"

#include "store/RecordBytes.h"

#include <QStringList>
#include <QVariant>

namespace orvx::store {

QString recordColumns(const QString& table)
{
    static const QStringList columns{QStringLiteral("kind"),
                                     QStringLiteral("tag"),
                                     QStringLiteral("device_id"),
                                     QStringLiteral("taken_at"),
                                     QStringLiteral("kept_by"),
                                     QStringLiteral("kept_at"),
                                     QStringLiteral("record_values"),
                                     QStringLiteral("curve1_position"),
                                     QStringLiteral("curve1_pressure"),
                                     QStringLiteral("curve2_position"),
                                     QStringLiteral("curve2_pressure"),
                                     QStringLiteral("device_count")};
    static_assert(kRecordColumnCount == 12);
    if (table.isEmpty())
        return columns.join(QStringLiteral(", "));
    QStringList qualified;
    for (const QString& column : columns)
        qualified << table + QLatin1Char('.') + column;
    return qualified.join(QStringLiteral(", "));
}

std::optional<StoredRecord> readRecordRow(const QSqlQuery& query, QString* why)
{
    StoredRecord stored;
    diagnostics::DiagRecord& record = stored.record;
    record.kind = query.value(0).toString() == QLatin1String("ESD") ? diagnostics::DiagKind::Esd
                                                                    : diagnostics::DiagKind::Pst;
    record.tag = query.value(1).toString();
    record.deviceId = query.value(2).toInt();
    stored.takenAt = QDateTime::fromString(query.value(3).toString(), Qt::ISODate);
    stored.keptBy = query.value(4).toString();
    stored.keptAt = QDateTime::fromString(query.value(5).toString(), Qt::ISODate);
    const bool whole = readValues(query.value(6).toByteArray(), record) &&
                       readCurve(query.value(7).toByteArray(), record.curve1.position) &&
                       readCurve(query.value(8).toByteArray(), record.curve1.pressure) &&
                       readCurve(query.value(9).toByteArray(), record.curve2.position) &&
                       readCurve(query.value(10).toByteArray(), record.curve2.pressure) &&
                       record.curve1.position.size() == record.curve1.pressure.size() &&
                       record.curve2.position.size() == record.curve2.pressure.size();
    if (!query.value(11).isNull())
        stored.deviceCount = query.value(11).toLongLong();
    if (!whole) {
        *why = QStringLiteral("a record of device %1 taken %2 does not read")
                   .arg(record.deviceId)
                   .arg(stored.takenAt.toString(Qt::ISODate));
        return std::nullopt;
    }
    return stored;
}

}  // namespace orvx::store
