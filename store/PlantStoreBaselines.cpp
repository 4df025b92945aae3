// The plant store's baselines: which kept PST each valve's later tests are compared with. Every
// choice is kept, never changed; the newest by the time it was made is in force.
#include "store/PlantStore.h"
#include "store/RecordBytes.h"
#include "store/RecordRows.h"
#include "store/StoreFailure.h"

#include <QSqlError>
#include <QVariant>

namespace orvx::store {

bool PlantStore::setBaseline(const QString& tag, std::int32_t deviceId, const StoredRecord& stored,
                             const QString& setBy, const QDateTime& setAt, QString* error)
{
    const diagnostics::DiagRecord& record = stored.record;
    if (record.kind != diagnostics::DiagKind::Pst) {
        *error = QStringLiteral("an ESD event is no baseline: a baseline is a PST");
        return false;
    }
    if (record.deviceId != deviceId || record.tag != tag) {
        *error = QStringLiteral("the PST is of the valve %1 (device %2), not of %3 (device %4)")
                     .arg(record.tag)
                     .arg(record.deviceId)
                     .arg(tag)
                     .arg(deviceId);
        return false;
    }
    if (!setAt.isValid()) {
        *error = QStringLiteral("a baseline needs the time it was chosen");
        return false;
    }
    // The choice names the record by its content hash, and is made only if that record is kept.
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.prepare(QStringLiteral("INSERT INTO baselines (tag, device_id, content_hash, set_by, set_at) "
                                 "SELECT ?, ?, content_hash, ?, ? FROM diag_records WHERE content_hash = ?"));
    query.addBindValue(tag);
    query.addBindValue(deviceId);
    query.addBindValue(setBy);
    query.addBindValue(setAt.toUTC().toString(Qt::ISODate));
    query.addBindValue(contentHash(record, stored.takenAt, stored.deviceCount));
    if (!query.exec()) {
        *error = storeFailure(query.lastError(), m_address);
        return false;
    }
    if (query.numRowsAffected() != 1) {
        *error = QStringLiteral("the PST of %1 taken %2 is not in the plant store: keep it before choosing it")
                     .arg(tag, stored.takenAt.toUTC().toString(Qt::ISODate));
        return false;
    }
    return true;
}

std::optional<BaselineChoice> PlantStore::baseline(const QString& tag, std::int32_t deviceId, QString* error)
{
    // Of two choices made in the same second the later kept is in force.
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1, chosen.set_by, chosen.set_at FROM baselines AS chosen JOIN diag_records "
                                 "AS kept ON kept.content_hash = chosen.content_hash WHERE chosen.device_id = ? AND "
                                 "chosen.tag = ? ORDER BY chosen.set_at DESC, chosen.id DESC LIMIT 1")
                      .arg(recordColumns(QStringLiteral("kept"))));
    query.addBindValue(deviceId);
    query.addBindValue(tag);
    if (!query.exec()) {
        if (error)
            *error = storeFailure(query.lastError(), m_address);
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    QString why;
    std::optional<StoredRecord> record = readRecordRow(query, &why);
    if (!record) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return BaselineChoice{std::move(*record), query.value(kRecordColumnCount).toString(),
                          QDateTime::fromString(query.value(kRecordColumnCount + 1).toString(), Qt::ISODate)};
}

}  // namespace orvx::store
