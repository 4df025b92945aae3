#include "StoreFixture.h"
#include "store/StoreSchema.h"

#include <QVariant>

using namespace orvx;
using namespace orvx::store;
using namespace orvx::store::test;

namespace {

const QDateTime kChosen(QDate(2026, 4, 1), QTime(10, 0), Qt::UTC);

class Baselines : public Store {};

TEST_P(Baselines, AChoiceThatNamesNoKeptPstOfTheValveIsRefusedAndNothingIsKept)
{
    auto store = open();
    const StoredRecord kept = stored(5, 1, 1);
    ASSERT_EQ(store->keep(kept).kind, KeepOutcome::Kind::Kept);
    StoredRecord esd = stored(5, 2, 2);
    esd.record.kind = diagnostics::DiagKind::Esd;
    ASSERT_EQ(store->keep(esd).kind, KeepOutcome::Kind::Kept);
    StoredRecord renamed = kept;
    renamed.record.tag = QStringLiteral("PV-other");

    const struct {
        const char* what;
        std::int32_t deviceId;
        StoredRecord record;
        QDateTime setAt;
        const char* why;
    } cases[] = {
        {"not kept", 5, stored(5, 3, 3), kChosen, "is not in the plant store"},
        {"another device's", 6, kept, kChosen, "not of PV-5 (device 6)"},
        {"another tag's", 5, renamed, kChosen, "the PST is of the valve PV-other"},
        {"an ESD event", 5, esd, kChosen, "a baseline is a PST"},
        {"no time", 5, kept, QDateTime(), "needs the time"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        QString error;
        EXPECT_FALSE(store->setBaseline(QStringLiteral("PV-5"), test.deviceId, test.record, QStringLiteral("alice"),
                                        test.setAt, &error));
        EXPECT_TRUE(error.contains(QString::fromLatin1(test.why))) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(store->baseline(QStringLiteral("PV-5"), 5, &error));
    EXPECT_TRUE(error.isEmpty()) << "no baseline is no failure: " << error.toStdString();
}

// Every choice is kept; the newest by the time it was made is in force, whatever the order the
// choices reached the store in, and each valve has its own.
TEST_P(Baselines, TheNewestChoiceIsInForce)
{
    auto store = open();
    const StoredRecord first = stored(5, 1, 1);
    const StoredRecord second = stored(5, 2, 2);
    for (const StoredRecord& record : {first, second, stored(6, 1, 1)})
        ASSERT_EQ(store->keep(record).kind, KeepOutcome::Kind::Kept);
    const QString tag = QStringLiteral("PV-5");
    QString error;
    ASSERT_TRUE(store->setBaseline(tag, 5, second, QStringLiteral("bob"), kChosen.addDays(2), &error))
        << error.toStdString();
    ASSERT_TRUE(store->setBaseline(tag, 5, first, QStringLiteral("alice"), kChosen, &error));

    std::optional<BaselineChoice> chosen = store->baseline(tag, 5);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->record.record, second.record) << "alice's choice was made earlier, though kept later";
    EXPECT_EQ(std::tuple(chosen->setBy, chosen->setAt), std::tuple(QStringLiteral("bob"), kChosen.addDays(2)));
    EXPECT_FALSE(store->baseline(QStringLiteral("PV-6"), 6)) << "another valve has none yet";

    ASSERT_TRUE(store->setBaseline(tag, 5, first, QStringLiteral("carol"), kChosen.addDays(2), &error));
    chosen = store->baseline(tag, 5);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(std::tuple(chosen->record.takenAt, chosen->setBy), std::tuple(first.takenAt, QStringLiteral("carol")))
        << "of two choices in the same second the later kept";
    EXPECT_FALSE(sql(QStringLiteral("UPDATE baselines SET set_by = 'mallory'")));
    EXPECT_FALSE(sql(QStringLiteral("DELETE FROM baselines")));
}

// A store of schema version 1, as the program before baselines made it, with a record in it.
bool makeVersionOne(QSqlDatabase& database, const StoreAddress& address, const StoredRecord& stored)
{
    QString error;
    if (!prepareSchema(database, address, 1, &error))
        return false;
    const diagnostics::DiagRecord& r = stored.record;
    QSqlQuery insert(database);
    insert.prepare(QStringLiteral("INSERT INTO diag_records (content_hash, kind, tag, device_id, taken_at, kept_by, "
                                  "kept_at, record_values, curve1_position, curve1_pressure, curve2_position, "
                                  "curve2_pressure) VALUES (?, 'PST', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant& value : {QVariant(contentHash(r, stored.takenAt)), QVariant(r.tag), QVariant(r.deviceId),
                                  QVariant(stored.takenAt.toString(Qt::ISODate)), QVariant(stored.keptBy),
                                  QVariant(stored.keptAt.toString(Qt::ISODate)), QVariant(valuesBytes(r)),
                                  QVariant(curveBytes(r.curve1.position)), QVariant(curveBytes(r.curve1.pressure)),
                                  QVariant(curveBytes(r.curve2.position)), QVariant(curveBytes(r.curve2.pressure))})
        insert.addBindValue(value);
    return insert.exec();
}

// A test read off the device, found again by its numbers as a graph shows it, can be chosen.
TEST_P(Baselines, ATestReadOffTheDeviceIsFoundByItsNumbersAndChosen)
{
    auto store = open();
    StoredRecord read = stored(5, 1, 1);
    read.deviceCount = 86'400;
    ASSERT_EQ(store->keep(read).kind, KeepOutcome::Kind::Kept);
    EXPECT_FALSE(store->sameTest(stored(5, 2, 1).record)) << "other numbers";
    const std::optional<StoredRecord> found = store->sameTest(read.record);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->deviceCount, 86'400);
    QString error;
    ASSERT_TRUE(store->setBaseline(QStringLiteral("PV-5"), 5, *found, QStringLiteral("alice"), kChosen, &error))
        << error.toStdString();
    const auto chosen = store->baseline(QStringLiteral("PV-5"), 5);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->record.record, read.record);
}

TEST_P(Baselines, AVersionOneStoreIsBroughtUpWithItsRecords)
{
    const StoredRecord old = stored(5, 1, 1);
    const StoreAddress address = parseStoreAddress(m_address, nullptr).value();
    ASSERT_TRUE(raw([&](QSqlDatabase& database) { return makeVersionOne(database, address, old); }));

    auto store = open();
    ASSERT_TRUE(store);
    const QList<StoredRecord> history = store->history(5);
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history[0].record, old.record);
    EXPECT_EQ(store->keep(old).kind, KeepOutcome::Kind::AlreadyKept) << "its content hash is the same";
    StoredRecord again = old;
    again.takenAt = old.takenAt.addSecs(30);
    EXPECT_EQ(store->keep(again).kind, KeepOutcome::Kind::AlreadyKept) << "the same test, by its numbers";
    EXPECT_EQ(store->keep(stored(5, 2, 2)).kind, KeepOutcome::Kind::Kept);
    QString error;
    EXPECT_TRUE(store->setBaseline(QStringLiteral("PV-5"), 5, old, QStringLiteral("alice"), kChosen, &error))
        << error.toStdString();
    EXPECT_TRUE(store->baseline(QStringLiteral("PV-5"), 5));
    int version = 0;
    EXPECT_TRUE(raw([&](QSqlDatabase& database) {
        QSqlQuery query(database);
        const bool read = query.exec(QStringLiteral("SELECT MAX(version) FROM store_schema")) && query.next();
        version = read ? query.value(0).toInt() : 0;
        return read;
    }));
    EXPECT_EQ(version, PlantStore::kSchemaVersion);
}

INSTANTIATE_TEST_SUITE_P(Engines, Baselines, ::testing::Values(Engine::Sqlite, Engine::Postgresql),
                         [](const auto& info) { return info.param == Engine::Sqlite ? "Sqlite" : "Postgresql"; });

}  // namespace
