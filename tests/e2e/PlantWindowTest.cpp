// The plant window over simulated valves: their rows follow the devices, each open valve keeps
// its own state, and every PST that ends is kept in the plant store once.
#include "ModuleFixture.h"
#include "frame/FrameWindow.h"
#include "frame/ModuleLoader.h"
#include "frame/PlantWindow.h"
#include "frame/SimulatedDevice.h"
#include "frame/SimulatedPlant.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"
#include "store/PlantStore.h"
#include "support/FixedWallClock.h"
#include "support/PstHistoryFile.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>

namespace orvx {
namespace {

using test::Module;

const QDateTime kNow(QDate(2026, 3, 10), QTime(8, 0), Qt::UTC);

class Plant : public Module {
protected:
    void SetUp() override
    {
        Module::SetUp();
        ASSERT_EQ(entry<test::Entry>("DllRegisterServer")(), 0);
        storeFile = folder.filePath(QStringLiteral("plant.sqlite"));
    }
    void TearDown() override
    {
        entry<test::Entry>("DllUnregisterServer")();
        Module::TearDown();
    }

    std::unique_ptr<store::PlantStore> openStore()
    {
        QString error;
        auto address = store::parseStoreAddress(QStringLiteral("sqlite:%1").arg(storeFile), &error);
        auto opened = address ? store::PlantStore::open(*address, &error) : nullptr;
        EXPECT_TRUE(opened) << error.toStdString();
        return opened;
    }

    // The plant window over every simulated valve, the valves' histories kept first.
    std::unique_ptr<frame::PlantWindow> makePlant(bool seeded = true)
    {
        auto kept = openStore();
        if (kept && seeded) {
            EXPECT_EQ(valves.Seed(*kept, kNow), QString());
        }
        auto window = std::make_unique<frame::PlantWindow>(loader, std::move(kept), QString());
        for (std::size_t i = 0; i < valves.Size(); ++i)
            keys.append(window->AddValve(std::make_unique<frame::SimulatedDevice>(valves.Valve(i))));
        return window;
    }

    const plant::ValveRow* row(frame::PlantWindow& window, const QString& tag)
    {
        for (const plant::ValveRow& each : window.View()->model()->rows())
            if (each.tag == tag)
                return window.View()->model()->row(each.key);
        return nullptr;
    }

    // Starts a PST on the valve as its PST page would, and runs the device until it ended.
    void runPst(simulator::SimulatedPositioner& valve)
    {
        std::uint32_t word = 0;
        ASSERT_EQ(valve.SetParameter(com::BStr(u"4"), com::Variant(), &word), com::Status::Ok);
        for (int i = 0; i < 400 && valve.RunningOperation(); ++i)
            scheduler.Advance(500);
        ASSERT_FALSE(valve.RunningOperation());
    }

    // The plant's clock: when a test kept now is taken and what is overdue.
    test::FixedWallClock clock{kNow};
    QString storeFile;
    simulator::ManualScheduler scheduler;
    frame::SimulatedPlant valves{scheduler};
    frame::ModuleLoader loader;
    QStringList keys;
};

TEST_F(Plant, EachValveShowsWhatItsDeviceAndItsKeptTestsSay)
{
    const auto window = makePlant();
    ASSERT_EQ(window->View()->model()->rowCount(), static_cast<int>(valves.Size()));
    const plant::ValveRow* first = row(*window, QStringLiteral("PV-101"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->reachable);
    EXPECT_EQ(first->mode, 3);
    EXPECT_EQ(first->health, plant::DeviceHealth::Good);
    EXPECT_EQ(first->pstIntervalDays, 90);
    ASSERT_TRUE(first->lastPst);
    EXPECT_EQ(first->lastPst->date(), kNow.date().addDays(-20));
    EXPECT_EQ(first->lastPassed, true);

    const plant::ValveRow* failed = row(*window, QStringLiteral("XV-202"));
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->lastPassed, false) << "its last PST failed on an air leak";
    const plant::ValveRow* never = row(*window, QStringLiteral("SDV-410"));
    ASSERT_TRUE(never);
    EXPECT_FALSE(never->lastPst);
    const plant::ValveRow* wearing = row(*window, QStringLiteral("XV-305"));
    ASSERT_TRUE(wearing);
    EXPECT_TRUE(wearing->projection.startsWith(QLatin1String("friction reaches the high limit around")))
        << wearing->projection.toStdString();

    // A change on the device reaches its row by the device's own notification.
    valves.Valve(0).Disconnect();
    EXPECT_FALSE(row(*window, QStringLiteral("PV-101"))->reachable);
    valves.Valve(0).Connect();
    EXPECT_TRUE(row(*window, QStringLiteral("PV-101"))->reachable);
}

TEST_F(Plant, APstThatEndsIsKeptOnceAndShownAsTheValvesLast)
{
    const auto window = makePlant();
    const qint64 before = window->Store()->count();
    runPst(valves.Valve(0));
    EXPECT_EQ(window->Store()->count(), before + 1);
    EXPECT_EQ(window->Problem(), QString());
    const plant::ValveRow* first = row(*window, QStringLiteral("PV-101"));
    ASSERT_TRUE(first && first->lastPst);
    EXPECT_GT(*first->lastPst, kNow.addSecs(-60)) << "the new test is the last, taken now";

    // A second frame on the same store and device keeps nothing twice.
    {
        frame::PlantWindow other(loader, openStore(), QString());
        other.AddValve(std::make_unique<frame::SimulatedDevice>(valves.Valve(0)));
        runPst(valves.Valve(0));
    }
    EXPECT_EQ(window->Store()->count(), before + 2) << "two frames saw one more test";
}

TEST_F(Plant, AStoreThatRefusesAPstIsNamedAndTheTestStaysOnTheDevice)
{
    const auto window = makePlant();
    const qint64 before = window->Store()->count();
    {
        // Another program's rule on the store refuses every new record.
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("refusing"));
        raw.setDatabaseName(storeFile);
        ASSERT_TRUE(raw.open());
        ASSERT_TRUE(QSqlQuery(raw).exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE INSERT ON diag_records BEGIN SELECT RAISE(ABORT, 'refused'); END")));
        raw.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("refusing"));
    runPst(valves.Valve(0));
    EXPECT_EQ(window->Store()->count(), before);
    EXPECT_TRUE(window->Problem().startsWith(QLatin1String("The PST of PV-101 was not kept in the plant store")))
        << window->Problem().toStdString();
}

TEST_F(Plant, ADataFileImportedIsKeptOnceAndItsLastPstShowsOnItsValve)
{
    const auto window = makePlant();
    const qint64 before = window->Store()->count();
    const plant::ValveRow* never = row(*window, QStringLiteral("SDV-410"));
    ASSERT_TRUE(never && !never->lastPst);
    const QString missing = folder.filePath(QStringLiteral("missing.dgn"));
    frame::PlantWindow::Imported imported = window->ImportDataFiles({missing});
    EXPECT_EQ(imported.summary, QStringList{QStringLiteral("missing.dgn: not imported")});
    ASSERT_EQ(imported.problems.size(), 1);
    EXPECT_TRUE(imported.problems[0].startsWith(missing + QStringLiteral(": "))) << imported.problems[0].toStdString();
    EXPECT_EQ(window->Store()->count(), before);

    const QString file = folder.filePath(QStringLiteral("sdv410.dgn"));
    const auto tests = test::writeSimulatedHistory(file, QStringLiteral("SDV-410"), never->deviceId);
    const QString all = QString::number(tests.size());
    imported = window->ImportDataFiles({file, file});
    EXPECT_EQ(imported.summary, (QStringList{QStringLiteral("sdv410.dgn: %1 kept, 0 kept already").arg(all),
                                             QStringLiteral("sdv410.dgn: 0 kept, %1 kept already").arg(all)}));
    EXPECT_EQ(imported.problems, QStringList());
    EXPECT_EQ(window->Store()->count(), before + static_cast<qint64>(tests.size()));
    const plant::ValveRow* now = row(*window, QStringLiteral("SDV-410"));
    ASSERT_TRUE(now && now->lastPst) << "the file's last PST is the valve's last";
    const QList<store::StoredRecord> kept = window->Store()->history(now->deviceId);
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_EQ(*now->lastPst, kept.back().takenAt);
    EXPECT_TRUE(kept.back().keptBy.endsWith(QLatin1String(", imported from sdv410.dgn")))
        << kept.back().keptBy.toStdString();
}

TEST_F(Plant, TwoValvesOpenSideBySideKeepTheirOwnUserLevels)
{
    const auto window = makePlant(false);
    ASSERT_EQ(window->OpenValve(keys[0]), QString());
    ASSERT_EQ(window->OpenValve(keys[2]), QString());
    window->MoveToOtherSide(keys[2]);
    frame::FrameWindow* first = window->ValveWindow(keys[0]);
    frame::FrameWindow* third = window->ValveWindow(keys[2]);
    ASSERT_TRUE(first && third);
    EXPECT_TRUE(window->findChild<QTabWidget*>(QStringLiteral("rightPane"))->isVisible() || !window->isVisible());
    EXPECT_EQ(valves.Valve(0).RegisteredControlCount(), 2u) << "the plant's watch and the main view";

    // The observer on one valve; the other's Apply still writes.
    QAction* observer = test::menuAction(*first, QStringLiteral("&User level"), QStringLiteral("observer"));
    ASSERT_TRUE(observer);
    observer->trigger();
    scheduler.Advance(500);
    auto* applyFirst = first->findChild<QPushButton*>(QStringLiteral("item_202"));
    auto* applyThird = third->findChild<QPushButton*>(QStringLiteral("item_202"));
    ASSERT_TRUE(applyFirst && applyThird);
    EXPECT_FALSE(applyFirst->isEnabled());
    EXPECT_TRUE(applyThird->isEnabled());

    window->CloseValve(keys[0]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->ValveWindow(keys[0]), nullptr);
    EXPECT_EQ(valves.Valve(0).RegisteredControlCount(), 1u) << "the closed tab released its control";
}

}  // namespace
}  // namespace orvx
