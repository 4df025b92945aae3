// Whole operations on the simulated positioner, in the module's own windows: a mode change, a drive by hand, a PST with
// its summary, graph and data file, and the setup wizard.
#include "ModuleFixture.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "frame/DiagnosticShots.h"
#include "frame/HostedControl.h"
#include "frame/ModuleLoader.h"
#include "frame/QtScheduler.h"
#include "frame/ShotWriter.h"
#include "host/Guids.h"
#include "platform/com/ComObject.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>

using namespace orvx;

namespace {

using test::Entry;
using test::Module;

TEST_F(Module, TheMainViewShowsTheDeviceAndChangesItsMode)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    device->SetPrivateDialogs(false);  // no box may wait for a user in a test
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        auto text = [&](int item) { return test::itemText(window, item); };
        com::Variant tag;
        device->GetParameter(com::BStr(u"1001"), &tag);
        EXPECT_EQ(text(203).toStdString(), tag.toText().toUtf8()) << "page 0 shows the device's tag";
        EXPECT_EQ(text(205), QStringLiteral("Normal"));

        QPushButton* applyMode = test::applyMode(window, 1);
        ASSERT_TRUE(applyMode);
        EXPECT_FALSE(applyMode->isEnabled()) << "the change is on its way";
        scheduler.Advance(1000);
        EXPECT_EQ(text(205), QStringLiteral("Manual"));
        EXPECT_TRUE(applyMode->isEnabled());
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// In Manual mode a user drives the valve shut from Manual Setpoint: the simulated valve strokes at
// its own speed, the page stays locked until the device answers, and the other pages show the
// valve where it went.
TEST_F(Module, FullCloseStrokesTheValveShutAndGivesTheButtonsBack)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    device->SetPrivateDialogs(false);
    std::uint32_t word = 0;
    device->SetParameter(com::BStr(u"1005"), com::Variant::text(com::BStr(u"1")), &word);
    device->SetParameter(com::BStr(u"0"), com::Variant(), &word);
    scheduler.Advance(1000);
    device->SetInputSignal(20);  // the loop asks for open: only the hand drive may close it
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        // The valve position as a page shows it in its value label.
        auto shownPosition = [&](const char* page, int item) {
            EXPECT_TRUE(frame::selectPage(window, QString::fromLatin1(page)));
            scheduler.Advance(500);  // the next live values
            for (auto* label : window->findChildren<QLabel*>(QStringLiteral("item_%1").arg(item)))
                if (label->isVisible())
                    return label->text().section(QLatin1Char(' '), 0, 0).toDouble();
            return -1.0;
        };
        const double before = shownPosition("Manual Setpoint", 218);
        EXPECT_GT(before, 10.0);
        QAbstractButton* fullClose = frame::visibleButton(window, 214);
        QAbstractButton* fullOpen = frame::visibleButton(window, 213);
        ASSERT_TRUE(fullClose && fullOpen);
        ASSERT_TRUE(fullClose->isEnabled());
        fullClose->click();
        scheduler.Advance(1000);
        EXPECT_FALSE(fullOpen->isEnabled()) << "locked while the valve travels";
        const double underway = shownPosition("Manual Setpoint", 218);
        EXPECT_LT(underway, before);
        EXPECT_GT(underway, 0.5);
        scheduler.Advance(15'000);
        EXPECT_TRUE(fullOpen->isEnabled()) << "515 gives the buttons back";
        EXPECT_TRUE(fullClose->isEnabled());
        EXPECT_NEAR(shownPosition("Manual Setpoint", 218), 0.0, 0.5);
        EXPECT_NEAR(shownPosition("Orvx ESD HART", 236), 0.0, 0.5);
        EXPECT_NEAR(shownPosition("Commission Service", 222), 0.0, 0.5);
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// A user runs a PST on the Diagnostics page, reads its summary, views its signature, saves it
// into a data file and loads it back, all in the module's own windows.
TEST_F(Module, APstIsGradedShownSavedAndLoadedBack)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    // The windows run their own event loops: the device needs a clock of its own, here four times
    // as fast as the wall clock.
    frame::QtScheduler scheduler(4.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    QTemporaryDir folder;
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();  // the script works only what a user could see
        QStringList errors;
        EXPECT_EQ(frame::writeDiagnosticShots(online.Window(), folder.path(), &errors), 5);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
        online.Release();
    }
    diagnostics::CNvEsdDataFileSvr file;
    ASSERT_FALSE(file.OpenFile(folder.filePath(QStringLiteral("simulated-pst.dgn")), diagnostics::OpenPurpose::Load));
    const QList<diagnostics::RecordKey> keys = file.ListRecords();
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0].kind, QLatin1String("PST"));
    const auto record = file.ReadRecord(keys[0]);
    ASSERT_TRUE(record.has_value());
    const auto count = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return value.toInt32();
    };
    EXPECT_EQ(record->curve1.Count(), count(u"16048")) << "the exhaust stroke as the device recorded it";
    EXPECT_EQ(record->curve2.Count(), count(u"16049") - count(u"16048"));
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

// A technician puts the positioner on a new valve with the setup wizard: identity written, stops
// found, loop tuned, configuration reset, each step on the simulated valve.
TEST_F(Module, TheSetupWizardCalibratesAndTunesTheValve)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    frame::QtScheduler scheduler(100.0);  // find stops and autotune take over a minute of device time
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    const auto read = [&](const char16_t* tag) {
        com::Variant value;
        device->GetParameter(com::BStr(tag), &value);
        return value.toText().toUtf8();
    };
    const auto waitFor = [](const std::function<bool()>& done) { return frame::waitFor(done, 20000); };
    // To Setup mode, as the mode button would ask.
    device->SetParameter(com::BStr(u"1005"), com::Variant::text(com::BStr(u"0")), nullptr);
    device->SetParameter(com::BStr(u"0"), com::Variant(), nullptr);
    ASSERT_TRUE(waitFor([&] { return read(u"1000") == "0"; }));
    const std::string stopsBefore = read(u"13011");
    const std::string gainBefore = read(u"8000");

    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e"));
        ASSERT_EQ(online.Start(&parent, device->identity()), QString());
        parent.show();
        QWidget* window = online.Window();
        auto* tree = window->findChild<QTreeWidget*>();
        ASSERT_NE(tree, nullptr);
        const QList<QTreeWidgetItem*> entries = tree->findItems(QStringLiteral("Setup Wizard"), Qt::MatchRecursive);
        ASSERT_EQ(entries.size(), 1);
        tree->setCurrentItem(entries[0]);
        QCoreApplication::processEvents();
        QAbstractButton* start = frame::visibleButton(window, 214);
        QAbstractButton* next = frame::visibleButton(window, 215);
        ASSERT_TRUE(start && next);
        start->click();
        std::string stopsFound;
        std::string gainTuned;
        for (int step = 1; step <= 4; ++step) {
            SCOPED_TRACE(step);
            ASSERT_TRUE(waitFor([&] { return next->isEnabled(); }));
            next->click();
            // Each step ends with Continue ready for the next, the last with Start ready again.
            QAbstractButton* ready = step < 4 ? next : start;
            ASSERT_TRUE(waitFor([&] { return !device->RunningOperation() && ready->isEnabled(); }));
            if (step == 2)
                stopsFound = read(u"13011");
            if (step == 3)
                gainTuned = read(u"8000");
        }
        ASSERT_TRUE(waitFor([&] {
            auto* status = window->findChild<QLabel*>(QStringLiteral("item_247"));
            return status && status->isVisible() && status->text().contains(QLatin1String("Reset completed."));
        }));
        EXPECT_NE(stopsFound, stopsBefore) << "find stops stored the valve's stops";
        EXPECT_NE(gainTuned, gainBefore) << "autotune changed the loop's gain";
        online.Release();
    }
    device->Disconnect();
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace
