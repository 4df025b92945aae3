// orvx-dgn import run as the real program, the way a plant runs it: two at once into one store,
// and one killed part way. The same cases on SQLite and on a PostgreSQL server of the test's own.
#include "simulator/SimulatedHistory.h"
#include "store/StoreFixture.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QThread>

#include <csignal>
#include <functional>

using namespace orvx;
using namespace orvx::store;
using orvx::store::test::Engine;

namespace {

// A data file of the PST histories of the valves firstDevice to lastDevice, each its own year of
// tests: what a plant's records brought in from several laptops look like.
QByteArray plantFile(std::int32_t firstDevice, std::int32_t lastDevice, int testsEach)
{
    simulator::HistoryPlan plan;
    plan.tests = testsEach;
    const std::vector<simulator::HistoricPst> tests = simulator::simulatePstHistory(plan);
    QByteArray file;
    for (std::int32_t device = firstDevice; device <= lastDevice; ++device) {
        const QByteArray valve = QByteArray::fromStdString(
            simulator::pstHistoryFile(tests, "PV-" + std::to_string(device), device));
        // One version line heads the file; each valve's history after the first goes without it.
        file += device == firstDevice ? valve : valve.mid(valve.indexOf('\n') + 1);
    }
    return file;
}

class ImportAtOnce : public store::test::Store {
protected:
    void SetUp() override
    {
        Store::SetUp();
        // The store made before the writers start, as a plant's store is.
        if (!IsSkipped()) {
            ASSERT_TRUE(open());
        }
    }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }

    void startImport(QProcess& process, const QString& file) const
    {
        process.start(QStringLiteral(ORVX_DGN_PROGRAM),
                      {QStringLiteral("import"), file, QStringLiteral("--store"), m_address});
        ASSERT_TRUE(process.waitForStarted());
    }

    // Every record the store holds read back whole, and its content hash the one of what was
    // read: the number of records read.
    qint64 checkEveryRecordWhole(PlantStore& store)
    {
        QSet<QString> hashes;
        QList<std::int32_t> devices;
        rawQuery(QStringLiteral("SELECT content_hash FROM diag_records"),
                 [&](const QSqlQuery& row) { hashes.insert(row.value(0).toString()); });
        rawQuery(QStringLiteral("SELECT DISTINCT device_id FROM diag_records"),
                 [&](const QSqlQuery& row) { devices.append(row.value(0).toInt()); });
        qint64 read = 0;
        for (const std::int32_t device : devices) {
            QString error;
            for (const StoredRecord& stored : store.history(device, &error)) {
                ++read;
                EXPECT_TRUE(hashes.contains(contentHash(stored.record, stored.takenAt)))
                    << "a record of device " << device << " is not the one that was kept";
            }
            EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        }
        EXPECT_EQ(read, hashes.size()) << "every kept record reads back";
        return read;
    }

    // A query straight into the database, past the store, each row handed to `row`.
    void rawQuery(const QString& statement, const std::function<void(const QSqlQuery&)>& row)
    {
        EXPECT_TRUE(raw([&](QSqlDatabase& database) {
            QSqlQuery query(database);
            if (!query.exec(statement))
                return false;
            while (query.next())
                row(query);
            return true;
        })) << statement.toStdString();
    }
};

// "N kept, M already in STORE, K not kept": N.
int keptOf(const QByteArray& out)
{
    return out.left(out.indexOf(' ')).toInt();
}

// Two people import overlapping files at the same moment: each record is kept once, by one of
// them, and the other hears it was already there.
TEST_P(ImportAtOnce, TwoImportsLoseNothingAndDoubleNothing)
{
    constexpr int kTests = 12;
    const QString first = write(QStringLiteral("first.dgn"), plantFile(1, 30, kTests));
    const QString second = write(QStringLiteral("second.dgn"), plantFile(16, 45, kTests));
    QProcess one;
    QProcess two;
    startImport(one, first);
    startImport(two, second);
    ASSERT_TRUE(one.waitForFinished(120'000) && two.waitForFinished(120'000));
    const QByteArray outOne = one.readAllStandardOutput();
    const QByteArray outTwo = two.readAllStandardOutput();
    EXPECT_EQ(one.exitCode(), 0) << one.readAllStandardError().toStdString();
    EXPECT_EQ(two.exitCode(), 0) << two.readAllStandardError().toStdString();
    EXPECT_EQ(keptOf(outOne) + keptOf(outTwo), 45 * kTests) << outOne.toStdString() << outTwo.toStdString();

    auto store = open();
    EXPECT_EQ(checkEveryRecordWhole(*store), 45 * kTests);
    for (std::int32_t device = 1; device <= 45; ++device)
        EXPECT_EQ(store->history(device).size(), kTests) << "device " << device;
}

// An import killed part way leaves whole records only, and the next import of the same file
// keeps the rest.
TEST_P(ImportAtOnce, AKilledImportLeavesWholeRecordsOnly)
{
    constexpr int kValves = 300;
    constexpr int kTests = 12;
    const QString file = write(QStringLiteral("large.dgn"), plantFile(1, kValves, kTests));
    auto store = open();
    QProcess import;
    startImport(import, file);
    for (int waited = 0; store->count() < kTests * 10 && waited < 60'000; waited += 5)
        QThread::msleep(5);
    ::kill(static_cast<pid_t>(import.processId()), SIGKILL);
    ASSERT_TRUE(import.waitForFinished());
    ASSERT_EQ(import.exitStatus(), QProcess::CrashExit);

    const qint64 before = checkEveryRecordWhole(*store);
    ASSERT_GT(before, 0);
    ASSERT_LT(before, kValves * kTests) << "the file was imported whole before the kill: make it larger";

    QProcess again;
    startImport(again, file);
    ASSERT_TRUE(again.waitForFinished(300'000));
    EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    EXPECT_EQ(keptOf(again.readAllStandardOutput()), kValves * kTests - before);
    EXPECT_EQ(checkEveryRecordWhole(*store), kValves * kTests);
}

INSTANTIATE_TEST_SUITE_P(Engines, ImportAtOnce, ::testing::Values(Engine::Sqlite, Engine::Postgresql),
                         [](const auto& info) { return info.param == Engine::Sqlite ? "Sqlite" : "Postgresql"; });

}  // namespace
