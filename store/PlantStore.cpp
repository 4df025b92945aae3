#include "store/PlantStore.h"

#include "store/RecordBytes.h"
#include "store/RecordRows.h"

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

QStringList schemaOne(bool sqlite)
{
    const QString id = sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                              : QStringLiteral("BIGSERIAL PRIMARY KEY");
    const QString blob = sqlite ? QStringLiteral("BLOB") : QStringLiteral("BYTEA");
    QStringList statements{
        QStringLiteral("CREATE TABLE diag_records (id %1, content_hash TEXT NOT NULL UNIQUE, kind TEXT NOT NULL, "
                       "tag TEXT NOT NULL, device_id INTEGER NOT NULL, taken_at TEXT NOT NULL, kept_by TEXT NOT NULL, "
                       "kept_at TEXT NOT NULL, record_values %2 NOT NULL, curve1_position %2 NOT NULL, "
                       "curve1_pressure %2 NOT NULL, curve2_position %2 NOT NULL, curve2_pressure %2 NOT NULL)")
            .arg(id, blob),
        QStringLiteral("CREATE INDEX diag_records_by_device ON diag_records (device_id, taken_at)"),
    };
    // A record once kept is never changed nor taken out, whoever holds the database.
    if (sqlite) {
        for (const char* change : {"UPDATE", "DELETE"})
            statements << QStringLiteral("CREATE TRIGGER diag_records_no_%1 BEFORE %2 ON diag_records BEGIN "
                                         "SELECT RAISE(ABORT, 'a kept record is never changed'); END")
                              .arg(QString::fromLatin1(change).toLower(), QString::fromLatin1(change));
    } else {
        statements << QStringLiteral("CREATE FUNCTION orvx_keep_records() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$ BEGIN RAISE EXCEPTION 'a kept record is never changed'; END $$")
                   << QStringLiteral("CREATE TRIGGER diag_records_kept BEFORE UPDATE OR DELETE ON diag_records "
                                     "FOR EACH ROW EXECUTE FUNCTION orvx_keep_records()");
    }
    return statements;
}

// Version 2: the same test is kept once, whenever it was read, and a test read off the device
// keeps the device's count at it. Records kept before have no test hash (a kept record is never
// changed); keep() compares their numbers instead.
QStringList schemaTwo()
{
    return {QStringLiteral("ALTER TABLE diag_records ADD COLUMN test_hash TEXT"),
            QStringLiteral("ALTER TABLE diag_records ADD COLUMN device_count BIGINT"),
            QStringLiteral("CREATE UNIQUE INDEX diag_records_same_test ON diag_records (test_hash)")};
}

// Runs one statement; false with the database's reason.
bool run(QSqlQuery& query, const QString& statement, QString* error)
{
    if (query.exec(statement))
        return true;
    *error = query.lastError().text();
    return false;
}

QString kindText(diagnostics::DiagKind kind)
{
    return kind == diagnostics::DiagKind::Pst ? QStringLiteral("PST") : QStringLiteral("ESD");
}

}  // namespace

PlantStore::PlantStore(StoreAddress address, QString connection)
    : m_address(std::move(address)), m_connection(std::move(connection))
{
}

PlantStore::~PlantStore()
{
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
        *error = QStringLiteral("cannot open the store %1: %2").arg(address.text(), database.lastError().text());
        return nullptr;
    }
    if (!store->migrate(error))
        return nullptr;
    return store;
}

// The schema's version is read and raised under a lock, so that two programs opening a new store
// at once make it once.
bool PlantStore::migrate(QString* error)
{
    const bool sqlite = isSqlite(m_address);
    QSqlQuery query(QSqlDatabase::database(m_connection));
    // PostgreSQL would note each time that the version table is there already.
    if (!sqlite && !run(query, QStringLiteral("SET client_min_messages TO WARNING"), error))
        return false;
    if (!run(query, QStringLiteral("CREATE TABLE IF NOT EXISTS store_schema (version INTEGER NOT NULL)"), error) ||
        !run(query, sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"), error))
        return false;
    const auto fail = [&](const QString& why) {
        *error = QStringLiteral("the store %1 %2").arg(m_address.text(), why);
        QSqlQuery(QSqlDatabase::database(m_connection)).exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    QString reason;
    if (!sqlite && !run(query, QStringLiteral("LOCK TABLE store_schema IN EXCLUSIVE MODE"), &reason))
        return fail(QStringLiteral("cannot be locked: ") + reason);
    if (!run(query, QStringLiteral("SELECT MAX(version) FROM store_schema"), &reason) || !query.next())
        return fail(QStringLiteral("has no schema version: ") + reason);
    const int version = query.value(0).isNull() ? 0 : query.value(0).toInt();
    if (version > kSchemaVersion)
        return fail(QStringLiteral("is of schema version %1, newer than this program's %2: a newer program wrote "
                                   "it, and only a newer one may")
                        .arg(version)
                        .arg(kSchemaVersion));
    QStringList statements;
    if (version < 1)
        statements << schemaOne(sqlite);
    if (version < 2)
        statements << schemaTwo();
    if (version < kSchemaVersion)
        statements << QStringLiteral("INSERT INTO store_schema (version) VALUES (%1)").arg(kSchemaVersion);
    for (const QString& statement : statements)
        if (!run(query, statement, &reason))
            return fail(QStringLiteral("cannot be brought to version %1: %2").arg(kSchemaVersion).arg(reason));
    if (!run(query, QStringLiteral("COMMIT"), &reason))
        return fail(QStringLiteral("cannot be made: ") + reason);
    return true;
}

// Whether a record of the valve holds these very numbers: any record (`legacyOnly` false), or one
// kept before test hashes were.
bool PlantStore::keptWithTheseNumbers(const diagnostics::DiagRecord& record, bool legacyOnly, QString* error)
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.prepare(QStringLiteral("SELECT 1 FROM diag_records WHERE device_id = ? AND kind = ? %1"
                                 "AND record_values = ? AND curve1_position = ? AND curve1_pressure = ? AND "
                                 "curve2_position = ? AND curve2_pressure = ?")
                      .arg(legacyOnly ? QStringLiteral("AND test_hash IS NULL ") : QString()));
    query.addBindValue(record.deviceId);
    query.addBindValue(kindText(record.kind));
    query.addBindValue(valuesBytes(record));
    for (const auto* curve :
         {&record.curve1.position, &record.curve1.pressure, &record.curve2.position, &record.curve2.pressure})
        query.addBindValue(curveBytes(*curve));
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    return query.next();
}

KeepOutcome PlantStore::keep(const StoredRecord& stored)
{
    const diagnostics::DiagRecord& record = stored.record;
    QString error;
    // A record from a file may be a test read off the device before, whose hash holds the
    // device's count: its numbers tell. Tests read off the device are told apart by the count.
    if (keptWithTheseNumbers(record, stored.deviceCount.has_value(), &error))
        return {KeepOutcome::Kind::AlreadyKept, {}};
    if (!error.isEmpty())
        return {KeepOutcome::Kind::Failed,
                QStringLiteral("the store %1 did not keep the record: %2").arg(m_address.text(), error)};
    QSqlQuery query(QSqlDatabase::database(m_connection));
    // Either hash met again is the record kept already: no conflict target, so both count.
    query.prepare(QStringLiteral(
        "INSERT INTO diag_records (content_hash, test_hash, device_count, kind, tag, device_id, taken_at, kept_by, "
        "kept_at, record_values, curve1_position, curve1_pressure, curve2_position, curve2_pressure) VALUES (?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
    query.addBindValue(contentHash(record, stored.takenAt, stored.deviceCount));
    query.addBindValue(testHash(record, stored.deviceCount));
    query.addBindValue(stored.deviceCount ? QVariant(*stored.deviceCount) : QVariant(QMetaType::fromType<qint64>()));
    query.addBindValue(kindText(record.kind));
    query.addBindValue(record.tag);
    query.addBindValue(record.deviceId);
    query.addBindValue(stored.takenAt.toUTC().toString(Qt::ISODate));
    query.addBindValue(stored.keptBy);
    query.addBindValue(stored.keptAt.toUTC().toString(Qt::ISODate));
    query.addBindValue(valuesBytes(record));
    for (const auto* curve :
         {&record.curve1.position, &record.curve1.pressure, &record.curve2.position, &record.curve2.pressure})
        query.addBindValue(curveBytes(*curve));
    if (!query.exec())
        return {
            KeepOutcome::Kind::Failed,
            QStringLiteral("the store %1 did not keep the record: %2").arg(m_address.text(), query.lastError().text())};
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
    // One pass over the PSTs ranks each valve's by the time the device took them; only the
    // first of each valve is read whole. Of two taken in the same second the later kept wins.
    QSqlQuery query(QSqlDatabase::database(m_connection));
    query.setForwardOnly(true);
    const QString statement = QStringLiteral(
        "SELECT %1 FROM diag_records WHERE id IN (SELECT id FROM (SELECT id, ROW_NUMBER() OVER (PARTITION BY "
        "device_id ORDER BY taken_at DESC, id DESC) AS newness FROM diag_records WHERE kind = 'PST') AS ranked "
        "WHERE newness = 1)");
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
