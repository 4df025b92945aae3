#include "store/StoreSchema.h"

#include "store/StoreFailure.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace orvx::store {

namespace {

QString idColumn(bool sqlite)
{
    return sqlite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT") : QStringLiteral("BIGSERIAL PRIMARY KEY");
}

// A row of `table` once written is never changed nor taken out, whoever holds the database. On
// PostgreSQL through the function version 1 made.
QStringList neverChanged(const QString& table, const QString& message, bool sqlite)
{
    if (!sqlite)
        return {QStringLiteral("CREATE TRIGGER %1_kept BEFORE UPDATE OR DELETE ON %1 "
                               "FOR EACH ROW EXECUTE FUNCTION orvx_keep_records()")
                    .arg(table)};
    QStringList statements;
    for (const char* change : {"UPDATE", "DELETE"})
        statements << QStringLiteral("CREATE TRIGGER %1_no_%2 BEFORE %3 ON %1 BEGIN SELECT RAISE(ABORT, '%4'); END")
                          .arg(table, QString::fromLatin1(change).toLower(), QString::fromLatin1(change), message);
    return statements;
}

QStringList schemaOne(bool sqlite)
{
    const QString id = idColumn(sqlite);
    const QString blob = sqlite ? QStringLiteral("BLOB") : QStringLiteral("BYTEA");
    QStringList statements{
        QStringLiteral("CREATE TABLE diag_records (id %1, content_hash TEXT NOT NULL UNIQUE, kind TEXT NOT NULL, "
                       "tag TEXT NOT NULL, device_id INTEGER NOT NULL, taken_at TEXT NOT NULL, kept_by TEXT NOT NULL, "
                       "kept_at TEXT NOT NULL, record_values %2 NOT NULL, curve1_position %2 NOT NULL, "
                       "curve1_pressure %2 NOT NULL, curve2_position %2 NOT NULL, curve2_pressure %2 NOT NULL)")
            .arg(id, blob),
        QStringLiteral("CREATE INDEX diag_records_by_device ON diag_records (device_id, taken_at)"),
    };
    if (!sqlite)
        statements << QStringLiteral("CREATE FUNCTION orvx_keep_records() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$ BEGIN RAISE EXCEPTION 'a kept record is never changed'; END $$");
    return statements +
           neverChanged(QStringLiteral("diag_records"), QStringLiteral("a kept record is never changed"), sqlite);
}

// Version 2: the same test is kept once, whenever it was read, and a test read off the device
// keeps the device's count at it; records kept before have no test hash (a kept record is never
// changed), and keep() compares their numbers instead. And the baseline chosen for each valve,
// every choice kept, the newest in force.
QStringList schemaTwo(bool sqlite)
{
    const QStringList statements{
        QStringLiteral("ALTER TABLE diag_records ADD COLUMN test_hash TEXT"),
        QStringLiteral("ALTER TABLE diag_records ADD COLUMN device_count BIGINT"),
        QStringLiteral("CREATE UNIQUE INDEX diag_records_same_test ON diag_records (test_hash)"),
        QStringLiteral("CREATE TABLE baselines (id %1, tag TEXT NOT NULL, device_id INTEGER NOT NULL, "
                       "content_hash TEXT NOT NULL REFERENCES diag_records (content_hash), set_by TEXT NOT NULL, "
                       "set_at TEXT NOT NULL)")
            .arg(idColumn(sqlite)),
        QStringLiteral("CREATE INDEX baselines_by_valve ON baselines (device_id, tag, set_at)"),
    };
    return statements +
           neverChanged(QStringLiteral("baselines"), QStringLiteral("a baseline choice is never changed"), sqlite);
}

// The statements that bring a store of version `from` (0: a new one) to version `from` + 1.
QStringList schemaStep(int from, bool sqlite)
{
    QStringList statements = from == 0 ? schemaOne(sqlite) : from == 1 ? schemaTwo(sqlite) : QStringList();
    statements << QStringLiteral("INSERT INTO store_schema (version) VALUES (%1)").arg(from + 1);
    return statements;
}

// The store's schema version, 0 for a new store; nothing when the version table does not read.
std::optional<int> readVersion(QSqlQuery& query)
{
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM store_schema")) || !query.next())
        return std::nullopt;
    return query.value(0).isNull() ? 0 : query.value(0).toInt();
}

QString newerSchema(const StoreAddress& address, int found, int version)
{
    return QStringLiteral("the plant store %1 is of schema version %2, newer than this program's %3: a newer program "
                          "wrote it, and only a newer one may")
        .arg(address.text())
        .arg(found)
        .arg(version);
}

}  // namespace

bool prepareSchema(QSqlDatabase& database, const StoreAddress& address, int version, QString* error)
{
    const bool sqlite = address.kind == StoreAddress::Kind::Sqlite;
    QSqlQuery query(database);
    const std::optional<int> found = readVersion(query);
    if (found && *found == version)
        return true;
    if (found && *found > version) {
        *error = newerSchema(address, *found, version);
        return false;
    }

    const auto rollback = [&] { QSqlQuery(database).exec(QStringLiteral("ROLLBACK")); };
    const auto fail = [&](const QSqlError& why) {
        *error = storeFailure(why, address);
        rollback();
        return false;
    };
    // PostgreSQL would note each time that the version table is there already.
    if (!sqlite && !query.exec(QStringLiteral("SET client_min_messages TO WARNING")))
        return fail(query.lastError());
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS store_schema (version INTEGER NOT NULL)")) ||
        !query.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return fail(query.lastError());
    if (!sqlite && !query.exec(QStringLiteral("LOCK TABLE store_schema IN EXCLUSIVE MODE")))
        return fail(query.lastError());
    // Read again under the lock: another program may have brought the store up meanwhile.
    const std::optional<int> locked = readVersion(query);
    if (!locked)
        return fail(query.lastError());
    if (*locked > version) {
        *error = newerSchema(address, *locked, version);
        rollback();
        return false;
    }
    for (int from = *locked; from < version; ++from)
        for (const QString& statement : schemaStep(from, sqlite))
            if (!query.exec(statement))
                return fail(query.lastError());
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail(query.lastError());
    return true;
}

}  // namespace orvx::store
