#include "store/PlantStore.h"

#include "store/RecordBytes.h"
#include "store/RecordRows.h"
#include "store/StoreFailure.h"
#include "store/StoreSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace orvx::store {

namespace {

bool isSqlite(const StoreAddress& address)
{
    return address.kind == StoreAddress::Kind::Sqlite;
}

QString kindText(diagnostics::DiagKind kind)
{
    return kind == diagnostics::DiagKind::Pst ? QStringLiteral("PST") : QStringLiteral("ESD");
}

// The record's numbers as bound to its columns: record_values, then both strokes.
QVariantList numbersOf(const diagnostics::DiagRecord& record)
{
    return {valuesBytes(record), curveBytes(record.curve1.position), curveBytes(record.curve1.pressure),
            curveBytes(record.curve2.position), curveBytes(record.curve2.pressure)};
}

}  // namespace

PlantStore::PlantStore(StoreAddress address, QString connection)
    : m_address(std::move(address)), m_connection(std::move(connection))
{
}

PlantStore::~PlantStore()
{
    m_insert.reset();
    for (auto& query : m_sameNumbers)
        query.reset();
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

std::unique_ptr<PlantStore> PlantStore::open(const StoreAddress& address, QString* error)
{
    static std::atomic<int> opened{0};
    const QString connection = QStringLiteral("orvx-store-%1").arg(++opened);
    const QString driver = isSqlite(address) ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        *error = isSqlite(address) ? QStringLiteral("Qt's SQLite driver is not installed (Debian libqt6sql6-sqlite)")
                                   : QStringLiteral("Qt's PostgreSQL driver is not installed (Debian libqt6sql6-psql)");
        return nullptr;
    }
    std::unique_ptr<PlantStore> store(new PlantStore(address, connection));
    QSqlDatabase database = QSqlDatabase::addDatabase(driver, connection);
    if (isSqlite(address)) {
        QDir().mkpath(QFileInfo(address.path).absolutePath());
        database.setDatabaseName(address.path);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        database.setHostName(address.host);
        database.setPort(address.port);
        database.setUserName(address.user);
        database.setDatabaseName(address.database);
        database.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!database.open()) {
        *error = storeFailure(database.lastError(), address);
        return nullptr;
    }
    if (!prepareSchema(database, address, kSchemaVersion, error))
        return nullptr;
    return store;
}

std::optional<StoredRecord> PlantStore::keptWithTheseNumbers(const diagnostics::DiagRecord& record, bool legacyOnly,
                                                             QString* error)
{
    std::unique_ptr<QSqlQuery>& query = m_sameNumbers[legacyOnly ? 1 : 0];
    if (!query) {
        query = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection));
        query->setForwardOnly(true);
        if (!query->prepare(
                QStringLiteral("SELECT %1 FROM diag_records WHERE device_id = ? AND kind = ? %2AND "
                               "record_values = ? AND curve1_position = ? AND curve1_pressure = ? AND "
                               "curve2_position = ? AND curve2_pressure = ? ORDER BY id")
                    .arg(recordColumns(), legacyOnly ? QStringLiteral("AND test_hash IS NULL ") : QString()))) {
            *error = storeFailure(query->lastError(), m_address);
            query.reset();
            return std::nullopt;
        }
    }
    const QVariantList values = QVariantList{record.deviceId, kindText(record.kind)} + numbersOf(record);
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values[i]);
    if (!query->exec()) {
        *error = storeFailure(query->lastError(), m_address);
        return std::nullopt;
    }
    std::optional<StoredRecord> found = query->next() ? readRecordRow(*query, error) : std::nullopt;
    query->finish();
    return found;
}

std::optional<StoredRecord> PlantStore::sameTest(const diagnostics::DiagRecord& record, QString* error)
{
    QString why;
    std::optional<StoredRecord> found = keptWithTheseNumbers(record, false, &why);
    if (error)
        *error = why;
    return found;
}

KeepOutcome PlantStore::keep(const StoredRecord& stored)
{
    const diagnostics::DiagRecord& record = stored.record;
    QString error;
    // A record from a file may be a test read off the device before, whose test hash holds the
    // device's count: its numbers tell. Tests read off the device are told apart by the count,
    // and compared by their numbers only with records kept before test hashes were.
    if (keptWithTheseNumbers(record, stored.deviceCount.has_value(), &error))
        return {KeepOutcome::Kind::AlreadyKept, {}};
    if (!error.isEmpty())
        return {KeepOutcome::Kind::Failed, error};
    // Prepared once: an import keeps thousands of records through the same statement. Either
    // hash met again is the record kept already: no conflict target, so both count.
    if (!m_insert) {
        m_insert = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection));
        const bool prepared = m_insert->prepare(QStringLiteral(
            "INSERT INTO diag_records (content_hash, test_hash, device_count, kind, tag, device_id, taken_at, "
            "kept_by, kept_at, record_values, curve1_position, curve1_pressure, curve2_position, curve2_pressure) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
        if (!prepared) {
            const QSqlError why = m_insert->lastError();
            m_insert.reset();
            return {KeepOutcome::Kind::Failed, storeFailure(why, m_address)};
        }
    }
    QSqlQuery& query = *m_insert;
    const QVariantList values{contentHash(record, stored.takenAt, stored.deviceCount),
                              testHash(record, stored.deviceCount),
                              stored.deviceCount ? QVariant(*stored.deviceCount)
                                                 : QVariant(QMetaType::fromType<qint64>()),
                              kindText(record.kind),
                              record.tag,
                              record.deviceId,
                              stored.takenAt.toUTC().toString(Qt::ISODate),
                              stored.keptBy,
                              stored.keptAt.toUTC().toString(Qt::ISODate)};
    const QVariantList bound = values + numbersOf(record);
    for (int i = 0; i < bound.size(); ++i)
        query.bindValue(i, bound[i]);
    if (!query.exec())
        return {KeepOutcome::Kind::Failed, storeFailure(query.lastError(), m_address)};
    return {query.numRowsAffected() == 1 ? KeepOutcome::Kind::Kept : KeepOutcome::Kind::AlreadyKept, {}};
}

QList<StoredRecord> PlantStore::history(std::int32_t deviceId, QString* error)
{
    // The index on (device_id, taken_at) finds the valve's records and gives their order; the id
    // after it orders records taken in the same second as they were kept.
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM diag_records WHERE device_id = ? ORDER BY taken_at, id").arg(recordColumns()));
    query.addBindValue(deviceId);
    QList<StoredRecord> records;
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return records;
    }
    QString why;
    while (query.next()) {
        if (std::optional<StoredRecord> stored = readRecordRow(query, &why))
            records.append(std::move(*stored));
        else if (error)
            *error = why;
    }
    return records;
}

QHash<std::int32_t, StoredRecord> PlantStore::latestPsts(QString* error)
{
    // The valves come from the index on (device_id, taken_at), and each valve's newest PST from
    // the end of its part of the same index, so no record but the chosen ones is read. Of two
    // taken in the same second the later kept wins.
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    const QString statement = QStringLiteral(
        "SELECT %1 FROM diag_records WHERE id IN (SELECT (SELECT newest.id FROM diag_records AS newest WHERE "
        "newest.device_id = valves.device_id AND newest.kind = 'PST' ORDER BY newest.taken_at DESC, newest.id DESC "
        "LIMIT 1) FROM (SELECT DISTINCT device_id FROM diag_records) AS valves)");
    QHash<std::int32_t, StoredRecord> latest;
    if (!query.exec(statement.arg(recordColumns()))) {
        if (error)
            *error = query.lastError().text();
        return latest;
    }
    QString why;
    while (query.next()) {
        if (std::optional<StoredRecord> stored = readRecordRow(query, &why))
            latest.insert(stored->record.deviceId, std::move(*stored));
        else if (error)
            *error = why;
    }
    return latest;
}

qint64 PlantStore::count()
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM diag_records")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

}  // namespace orvx::store
