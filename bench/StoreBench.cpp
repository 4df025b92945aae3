// Store: the plant store on SQLite, against bare Qt SQL on the same table. Keeping PSTs through
// PlantStore::keep against a prepared QSqlQuery insert of the same rows; one valve's history
// among 10,000 PSTs against a bare select of its rows; the newest PST of 500 valves in one query
// against one query per valve.
#include "Bench.h"
#include "store/PlantStore.h"
#include "store/RecordBytes.h"
#include "store/RecordRows.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace orvx::bench {

namespace {

using store::PlantStore;
using store::StoredRecord;

const QDateTime kFirstTest(QDate(2025, 1, 15), QTime(9, 30), Qt::UTC);

// A PST of 2 x 300 points, as a valve's monthly test gives, different for each valve and test.
StoredRecord pst(std::int32_t deviceId, int test)
{
    StoredRecord stored;
    diagnostics::DiagRecord& record = stored.record;
    record.tag = QStringLiteral("PV-%1").arg(deviceId);
    record.deviceId = deviceId;
    for (int i = 0; i < diagnostics::kRecordValueCount; ++i)
        record.values[static_cast<std::size_t>(i)] = test * 7 + i;
    for (int i = 0; i < 300; ++i) {
        const float x = static_cast<float>(i) / 10.0f;
        record.curve1.position.push_back(100.0f - x);
        record.curve1.pressure.push_back(30.0f + std::sin(x) + static_cast<float>(test) * 0.01f);
        record.curve2.position.push_back(70.0f + x);
        record.curve2.pressure.push_back(25.0f + std::cos(x));
    }
    stored.takenAt = kFirstTest.addDays(30 * test);
    stored.keptBy = QStringLiteral("bench");
    stored.keptAt = stored.takenAt.addSecs(60);
    return stored;
}

std::unique_ptr<PlantStore> openStore(const QString& path)
{
    QString error;
    store::StoreAddress address;
    address.path = path;
    auto plant = PlantStore::open(address, &error);
    if (!plant)
        throw std::runtime_error(error.toStdString());
    return plant;
}

// The plant of this run, kept once: 500 valves with 20 PSTs each (fewer in a smoke run).
struct Plant {
    Plant()
    {
        valves = Smoke() ? 20 : 500;
        testsEach = Smoke() ? 2 : 20;
        plant = openStore(folder.filePath(QStringLiteral("plant.sqlite")));
        QSqlDatabase database = plant->connectionForTests();
        // One transaction for the whole fill: the setup is not what is measured.
        database.transaction();
        for (int test = 0; test < testsEach; ++test)
            for (std::int32_t valve = 1; valve <= valves; ++valve)
                if (plant->keep(pst(valve, test)).kind != store::KeepOutcome::Kind::Kept)
                    throw std::runtime_error("the plant store did not keep a record");
        database.commit();
    }
    QTemporaryDir folder;
    std::unique_ptr<PlantStore> plant;
    int valves = 0;
    int testsEach = 0;
};

std::unique_ptr<Plant> thePlant;

Plant& plant()
{
    if (!thePlant)
        thePlant = std::make_unique<Plant>();
    return *thePlant;
}

constexpr int kKeptEach = 50;

// New records for each round of keeping, made outside the timing.
QList<StoredRecord> nextBatch(int& round)
{
    QList<StoredRecord> batch;
    for (int i = 0; i < kKeptEach; ++i)
        batch.append(pst(1 + i, round));
    ++round;
    return batch;
}

void Store_KeepOurs(benchmark::State& state)
{
    QTemporaryDir folder;
    auto plant = openStore(folder.filePath(QStringLiteral("keep.sqlite")));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QList<StoredRecord> batch = nextBatch(round);
        state.ResumeTiming();
        for (const StoredRecord& record : batch)
            if (plant->keep(record).kind != store::KeepOutcome::Kind::Kept)
                state.SkipWithError("a record was not kept");
    }
    state.counters["records"] = kKeptEach;
}

// The floor: the same rows, their bytes and hashes made beforehand, through one prepared insert.
void Store_KeepFloor(benchmark::State& state)
{
    QTemporaryDir folder;
    auto plant = openStore(folder.filePath(QStringLiteral("keep.sqlite")));
    QSqlQuery insert(plant->connectionForTests());
    insert.prepare(QStringLiteral("INSERT INTO diag_records (content_hash, kind, tag, device_id, taken_at, kept_by, "
                                  "kept_at, record_values, curve1_position, curve1_pressure, curve2_position, "
                                  "curve2_pressure) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QList<QVariantList> rows;
        for (const StoredRecord& stored : nextBatch(round)) {
            const diagnostics::DiagRecord& r = stored.record;
            rows.append({store::contentHash(r, stored.takenAt), QStringLiteral("PST"), r.tag, r.deviceId,
                         stored.takenAt.toString(Qt::ISODate), stored.keptBy, stored.keptAt.toString(Qt::ISODate),
                         store::valuesBytes(r), store::curveBytes(r.curve1.position),
                         store::curveBytes(r.curve1.pressure), store::curveBytes(r.curve2.position),
                         store::curveBytes(r.curve2.pressure)});
        }
        state.ResumeTiming();
        for (const QVariantList& row : rows) {
            for (int i = 0; i < row.size(); ++i)
                insert.bindValue(i, row[i]);
            if (!insert.exec())
                state.SkipWithError("a row was not inserted");
        }
    }
    state.counters["records"] = kKeptEach;
}

void Store_HistoryOurs(benchmark::State& state)
{
    Plant& p = plant();
    const std::int32_t valve = p.valves / 2;
    for (auto _ : state)
        if (p.plant->history(valve).size() != p.testsEach)
            state.SkipWithError("the history is not the valve's");
    state.counters["records"] = p.valves * p.testsEach;
}

// The floor: the same rows selected by bare Qt SQL, their bytes copied out and not decoded.
void Store_HistoryFloor(benchmark::State& state)
{
    Plant& p = plant();
    QSqlQuery query(p.plant->connectionForTests());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT kind, tag, device_id, taken_at, kept_by, kept_at, record_values, "
                                 "curve1_position, curve1_pressure, curve2_position, curve2_pressure FROM "
                                 "diag_records WHERE device_id = ? ORDER BY taken_at, id"));
    for (auto _ : state) {
        query.bindValue(0, p.valves / 2);
        query.exec();
        int rows = 0;
        while (query.next()) {
            for (int i = 0; i < 11; ++i)
                benchmark::DoNotOptimize(query.value(i));
            ++rows;
        }
        if (rows != p.testsEach)
            state.SkipWithError("the rows are not the valve's");
    }
}

void Store_LatestOurs(benchmark::State& state)
{
    Plant& p = plant();
    for (auto _ : state)
        if (p.plant->latestPsts().size() != p.valves)
            state.SkipWithError("a valve is missing");
    state.counters["valves"] = p.valves;
}

// The floor: what a plant view would do without it, a query for each valve's newest PST, each
// record read as the store reads it, so that the ratio is the cost of the one query alone.
void Store_LatestFloor(benchmark::State& state)
{
    Plant& p = plant();
    QSqlQuery query(p.plant->connectionForTests());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM diag_records WHERE device_id = ? AND kind = 'PST' ORDER BY "
                                 "taken_at DESC, id DESC LIMIT 1")
                      .arg(store::recordColumns()));
    for (auto _ : state) {
        int found = 0;
        for (std::int32_t valve = 1; valve <= p.valves; ++valve) {
            query.bindValue(0, valve);
            query.exec();
            QString why;
            found += query.next() && store::readRecordRow(query, &why).has_value();
        }
        if (found != p.valves)
            state.SkipWithError("a valve is missing");
    }
}

}  // namespace

void ReleaseStore()
{
    thePlant.reset();
}

void RegisterStoreBenchmarks()
{
    using benchmark::RegisterBenchmark;
    const auto ms = benchmark::kMillisecond;
    Timed(RegisterBenchmark("Store/keep/floor", Store_KeepFloor))->Unit(ms);
    Timed(RegisterBenchmark("Store/keep/ours", Store_KeepOurs))->Unit(ms);
    Timed(RegisterBenchmark("Store/history/floor", Store_HistoryFloor))->Unit(ms);
    Timed(RegisterBenchmark("Store/history/ours", Store_HistoryOurs))->Unit(ms);
    Timed(RegisterBenchmark("Store/latest/floor", Store_LatestFloor))->Unit(ms);
    Timed(RegisterBenchmark("Store/latest/ours", Store_LatestOurs))->Unit(ms);
}

}  // namespace orvx::bench
