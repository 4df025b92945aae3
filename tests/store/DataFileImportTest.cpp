// A data file imported into the plant store: stopped part way, it leaves whole records, and
// imported again it keeps the rest and nothing twice.
#include "store/DataFileImport.h"
#include "store/DataFileScan.h"
#include "store/PlantStore.h"
#include "support/PstHistoryFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace orvx::store {
namespace {

std::unique_ptr<PlantStore> storeIn(const QTemporaryDir& folder)
{
    QString error;
    const auto address = parseStoreAddress(QStringLiteral("sqlite:") + folder.filePath("p.sqlite"), &error);
    auto plant = address ? PlantStore::open(*address, &error) : nullptr;
    EXPECT_TRUE(plant) << error.toStdString();
    return plant;
}

TEST(DataFileImport, AFileThatIsNoDataFileKeepsNothingAndSaysWhy)
{
    QTemporaryDir folder;
    const std::unique_ptr<PlantStore> plant = storeIn(folder);
    ASSERT_TRUE(plant);
    const QString path = folder.filePath(QStringLiteral("notes.dgn"));
    QFile notes(path);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("shopping list\r\n");
    notes.close();
    try {
        importDataFile(*plant, path, QStringLiteral("alice"), QDateTime(QDate(2026, 3, 1), QTime(), Qt::UTC));
        FAIL() << "imported a file that is no data file";
    } catch (const DataFileError& failure) {
        EXPECT_TRUE(QString::fromStdString(failure.what()).startsWith(QLatin1String("not a data file")))
            << failure.what();
    }
    EXPECT_EQ(plant->count(), 0);
}

TEST(DataFileImport, StoppedPartWayItKeepsWholeRecordsAndTheRestWhenImportedAgain)
{
    QTemporaryDir folder;
    const std::unique_ptr<PlantStore> plant = storeIn(folder);
    ASSERT_TRUE(plant);
    const QString path = folder.filePath(QStringLiteral("pv7.dgn"));
    const int all = static_cast<int>(test::writeSimulatedHistory(path, QStringLiteral("PV-7"), 7).size());
    ASSERT_GT(all, 3);
    const QDateTime now(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

    int heard = 0;
    const ImportCount stopped = importDataFile(*plant, path, QStringLiteral("alice"), now,
                                               [&](const ImportCount& sofar) {
                                                   ++heard;
                                                   return sofar.kept < 3;
                                               });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.kept, 3);
    EXPECT_EQ(heard, 3) << "no record handed to the store after the stop";
    EXPECT_EQ(plant->count(), 3);

    const ImportCount rest = importDataFile(*plant, path, QStringLiteral("bob"), now);
    EXPECT_FALSE(rest.stopped);
    EXPECT_EQ(rest.kept, all - 3);
    EXPECT_EQ(rest.already, 3);
    EXPECT_TRUE(rest.problems.isEmpty() && rest.failures.isEmpty());
    const QList<StoredRecord> kept = plant->history(7);
    ASSERT_EQ(kept.size(), all);
    EXPECT_EQ(kept.front().keptBy, QStringLiteral("alice")) << "the first import's records stay as kept";
    EXPECT_EQ(kept.back().keptBy, QStringLiteral("bob"));
}

}  // namespace
}  // namespace orvx::store
