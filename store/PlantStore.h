#pragma once

#include "diagnostics/DiagRecord.h"
#include "store/StoreAddress.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

namespace orvx::store {

// A PST or ESD event as the store keeps it: the record, when the device took it, and who read it
// from the device or brought it in.
struct StoredRecord {
    diagnostics::DiagRecord record;
    QDateTime takenAt;  // UTC
    QString keptBy;
    QDateTime keptAt;  // when it was handed to the store: the caller's clock, not the store's
    // For a test read off the device: the device's own count of seconds when it ran, which names
    // the test however often and by whomever it is read. None for a record from a data file.
    std::optional<qint64> deviceCount;
};

// What became of a record handed to the store.
struct KeepOutcome {
    enum class Kind { Kept, AlreadyKept, Failed };
    Kind kind = Kind::Failed;
    QString why;  // for Failed
};

// A valve's baseline as chosen: the kept PST later tests are compared with, who chose it and
// when (the caller's clock).
struct BaselineChoice {
    StoredRecord record;
    QString setBy;
    QDateTime setAt;  // UTC
};

// The plant's history of PSTs and ESD events, in SQLite or PostgreSQL. Records are only ever
// added: the same test handed in twice is kept once, whenever and by whomever it was read, and a record is written
// whole or not at all. The schema carries its version; an older store is brought up to date when opened, a newer one
// refused.
class PlantStore {
public:
    static constexpr int kSchemaVersion = 2;

    // The store at `address`, its schema made or brought up to date; null with the reason.
    static std::unique_ptr<PlantStore> open(const StoreAddress& address, QString* error);
    ~PlantStore();
    PlantStore(const PlantStore&) = delete;
    PlantStore& operator=(const PlantStore&) = delete;

    // Keeps the record whole, or not at all: Failed says why in words a user understands ("the
    // plant store is read-only (...)"), the database's own text after them.
    KeepOutcome keep(const StoredRecord& record);
    // Every record of the device, the oldest first; an empty list with the reason on failure.
    QList<StoredRecord> history(std::int32_t deviceId, QString* error = nullptr);
    // The newest PST of every valve, by the time the device took it, keyed by device id; one
    // query for the whole plant. Empty with the reason on failure.
    QHash<std::int32_t, StoredRecord> latestPsts(QString* error = nullptr);
    // Makes the kept PST `record` the baseline of the valve `tag`/`deviceId` from `setAt` on;
    // earlier choices stay kept, the newest by `setAt` is in force. False with the reason, and
    // nothing kept, when the record is not a PST of that valve kept in the store, or the store
    // refuses.
    bool setBaseline(const QString& tag, std::int32_t deviceId, const StoredRecord& record, const QString& setBy,
                     const QDateTime& setAt, QString* error);
    // The kept test that holds the record's numbers (its kind, valve, values and strokes), as it
    // was kept; nothing when none is, with the reason on failure.
    std::optional<StoredRecord> sameTest(const diagnostics::DiagRecord& record, QString* error = nullptr);
    // The valve's baseline in force; nothing when none was chosen, with the reason on failure.
    std::optional<BaselineChoice> baseline(const QString& tag, std::int32_t deviceId, QString* error = nullptr);
    // How many records the store holds, or -1 when it cannot say.
    qint64 count();

    const StoreAddress& address() const { return m_address; }
    // The store's own connection, for a test that sets what no address says (a SQLite page
    // limit, to see a full store).
    QSqlDatabase connectionForTests() const { return QSqlDatabase::database(m_connection); }

private:
    PlantStore(StoreAddress address, QString connection);
    // The first record of the valve that holds these very numbers: any record (`legacyOnly`
    // false), or one kept before test hashes were; none, with the reason on failure.
    std::optional<StoredRecord> keptWithTheseNumbers(const diagnostics::DiagRecord& record, bool legacyOnly,
                                                     QString* error);

    StoreAddress m_address;
    QString m_connection;
    std::unique_ptr<QSqlQuery> m_insert;          // the statements keep runs, prepared on their first use
    std::unique_ptr<QSqlQuery> m_sameNumbers[2];  // by legacyOnly
};

}  // namespace orvx::store
