// The plant store as the module's diagnostics windows read it, named in the environment as the
// frame names it.
#include "StoreFixture.h"
#include "host/PlantStoreRecords.h"

#include <QTemporaryDir>

using namespace orvx;
using namespace orvx::store::test;

namespace {

class StoreRecords : public ::testing::Test {
protected:
    void SetUp() override { qputenv("ORVX_PLANT_STORE", address.toUtf8()); }
    void TearDown() override { qputenv("ORVX_PLANT_STORE", QByteArray()); }

    QTemporaryDir folder;
    QString address = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("plant.sqlite"));
    host::CPlantStoreRecords records;
};

TEST_F(StoreRecords, AProgramThatKeepsNoStoreReadsNoneAndChoosesNone)
{
    qputenv("ORVX_PLANT_STORE", QByteArray());
    EXPECT_FALSE(records.Keeps());
    bool available = true;
    QString error;
    EXPECT_TRUE(records.Psts(5, &available, &error).empty());
    EXPECT_FALSE(available);
    EXPECT_FALSE(records.SetBaseline(QStringLiteral("PV-5"), 5, {QDateTime(QDate(2026, 3, 1), QTime(8, 30)), pst(5, 1)},
                                     &error));
    EXPECT_EQ(error, QStringLiteral("the program keeps no plant store"));
    available = true;
    EXPECT_FALSE(records.Keep({QDateTime(QDate(2026, 3, 1), QTime(8, 30)), pst(5, 1)}, &available, &error));
    EXPECT_FALSE(available);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("plant.sqlite"))));
}

TEST_F(StoreRecords, ABaselineChosenIsKeptWithItsTestAndReadBackAsTheFileWroteIt)
{
    ASSERT_TRUE(records.Keeps());
    const diagnostics::DatedRecord test{QDateTime(QDate(2026, 3, 1), QTime(8, 30)), pst(5, 1)};
    QString error;
    ASSERT_TRUE(records.SetBaseline(QStringLiteral("PV-5"), 5, test, &error)) << error.toStdString();
    ASSERT_TRUE(records.SetBaseline(QStringLiteral("PV-5"), 5, test, &error))
        << "chosen again: " << error.toStdString();
    bool available = false;
    const auto chosen = records.Baseline(QStringLiteral("PV-5"), 5, &available, &error);
    EXPECT_TRUE(available);
    ASSERT_TRUE(chosen) << error.toStdString();
    EXPECT_EQ(chosen->record, test.record);
    EXPECT_EQ(chosen->when, test.when) << "the time as written, without a zone";
    const auto tests = records.Psts(5, &available, &error);
    ASSERT_EQ(tests.size(), 1u) << "the test kept once";
    EXPECT_EQ(tests[0].when, test.when);
    EXPECT_FALSE(records.Baseline(QStringLiteral("PV-6"), 6, &available, &error));
}

TEST_F(StoreRecords, AnEsdEventReadTwiceIsKeptOnceAndIsNoPst)
{
    diagnostics::DiagRecord event = pst(5, 2);
    event.kind = diagnostics::DiagKind::Esd;
    bool available = false;
    QString error;
    for (const QTime at : {QTime(8, 30), QTime(9, 45)})
        ASSERT_TRUE(records.Keep({QDateTime(QDate(2026, 3, 1), at, Qt::UTC), event}, &available, &error))
            << error.toStdString();
    EXPECT_TRUE(available);
    EXPECT_TRUE(records.Psts(5, &available, &error).empty());
    QString why;
    const auto plant = store::PlantStore::open(*store::parseStoreAddress(address, &why), &why);
    ASSERT_TRUE(plant) << why.toStdString();
    const QList<store::StoredRecord> kept = plant->history(5, &why);
    ASSERT_EQ(kept.size(), 1) << "read again later, the same event";
    EXPECT_EQ(kept[0].record, event);
    EXPECT_EQ(kept[0].takenAt, QDateTime(QDate(2026, 3, 1), QTime(8, 30), Qt::UTC));
}

TEST_F(StoreRecords, AStoreThatCannotBeOpenedSaysWhy)
{
    qputenv("ORVX_PLANT_STORE", "mysql://nowhere");
    bool available = true;
    QString error;
    EXPECT_TRUE(records.Psts(5, &available, &error).empty());
    EXPECT_FALSE(available);
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(records.Keep({QDateTime(QDate(2026, 3, 1), QTime(8, 30)), pst(5, 1)}, &available, &error));
    EXPECT_FALSE(error.isEmpty()) << "a store named but not reached is no store kept";
}

}  // namespace
