// The frame's own parts over the simulated positioner: the Simulate menu and the status bar.
#include "frame/FrameWindow.h"
#include "frame/LookCheck.h"
#include "frame/ModuleLoader.h"
#include "frame/QtScheduler.h"
#include "frame/ShotWriter.h"
#include "platform/com/ComObject.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <map>
#include <vector>

using namespace orvx;

namespace {

// The frame's Simulate menu switches the simulated faults; the status bar names each one in force.
// What the screenshot run holds against every window it pictures, each misreading on its own.
TEST(LookCheck, NamesWhatAUserWouldMisread)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("Friction High Limit"));
    auto* wrapped = new QLabel(QStringLiteral("A long text that wraps onto as many lines as it needs"));
    wrapped->setWordWrap(true);
    auto* box = new QCheckBox(QStringLiteral("Enable Schedule"));
    auto* field = new QLineEdit(QStringLiteral("42"));
    auto* image = new QLabel;
    image->setObjectName(QStringLiteral("item_286"));
    auto* words = new QLabel(QStringLiteral("ESD Tripped: no"));
    words->setObjectName(QStringLiteral("esdTrippedWords"));
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(wrapped), static_cast<QWidget*>(box),
                       static_cast<QWidget*>(field), static_cast<QWidget*>(image), static_cast<QWidget*>(words)})
        layout->addWidget(w);
    auto* hidden = new QLabel(QStringLiteral("A label that is not shown"), &window);
    hidden->setFixedWidth(10);
    hidden->hide();
    window.resize(400, 300);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(frame::lookProblems(&window), QStringList());

    field->setReadOnly(true);
    EXPECT_EQ(frame::lookProblems(&window), QStringList("QLineEdit cannot be typed into but looks editable"));
    QPalette readOnly = field->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Disabled, QPalette::Window));
    field->setPalette(readOnly);
    EXPECT_EQ(frame::lookProblems(&window), QStringList());

    label->setFixedWidth(20);
    box->setFixedWidth(20);
    wrapped->setFixedWidth(20);
    words->setText(QStringLiteral("ESD Tripped"));
    QApplication::processEvents();
    const QStringList problems = frame::lookProblems(&window);
    ASSERT_EQ(problems.size(), 3) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].startsWith(QLatin1String("\"Friction High Limit\" (QLabel) is 20 px wide and needs")));
    EXPECT_TRUE(problems[1].startsWith(QLatin1String("\"Enable Schedule\" (QCheckBox) is 20 px wide")));
    EXPECT_EQ(problems[2], QStringLiteral("the ESD image has no state in words beside it"));

    window.hide();
    EXPECT_EQ(frame::lookProblems(&window), QStringList()) << "a hidden window shows nothing";
}

TEST(Frame, SimulatedFaultsAreSwitchedFromTheMenuAndNamedInTheStatusBar)
{
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    std::map<QString, QAction*> actions;
    for (QAction* menu : window.menuBar()->actions())
        if (menu->text() == QLatin1String("&Simulate"))
            for (QAction* action : menu->menu()->actions())
                if (action->isCheckable())  // the faults; the PST history entry is no switch
                    actions[action->text()] = action;
    ASSERT_EQ(actions.size(), std::size(simulator::kSimulatedFaults));
    auto* label = window.findChild<QLabel*>(QStringLiteral("simulatedFaults"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isHidden());

    actions.at(QStringLiteral("Air leak"))->trigger();
    actions.at(QStringLiteral("Sticking valve"))->trigger();
    actions.at(QStringLiteral("ESD trip"))->trigger();
    EXPECT_EQ(label->text(), QStringLiteral("Simulated faults: sticking valve, air leak, ESD trip"));
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(device->ActiveFaults(),
              (std::vector{simulator::SimulatedFault::StickingValve, simulator::SimulatedFault::AirLeak,
                           simulator::SimulatedFault::EsdTrip}));
    com::Variant tripped;
    device->GetParameter(com::BStr(u"2012"), &tripped);
    EXPECT_EQ(tripped.toText().toUtf8(), "1");

    for (const char* name : {"Air leak", "Sticking valve", "ESD trip"})
        actions.at(QString::fromLatin1(name))->trigger();
    EXPECT_TRUE(device->ActiveFaults().empty());
    EXPECT_TRUE(label->isHidden());
}

// The status bar names the command the device runs and how long it has run, in device time.
TEST(Frame, TheRunningCommandAndItsTimeShowInTheStatusBar)
{
    simulator::ManualScheduler scheduler;
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device);
    auto* label = window.findChild<QLabel*>(QStringLiteral("runningOperation"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isHidden());
    const auto send = [&](const char16_t* tag, const char16_t* value = nullptr) {
        std::uint32_t word = 0;
        return device->SetParameter(com::BStr(tag), value ? com::Variant::text(com::BStr(value)) : com::Variant(),
                                    &word);
    };
    ASSERT_EQ(send(u"1005", u"0"), com::Status::Ok);
    ASSERT_EQ(send(u"0"), com::Status::Ok);
    scheduler.Advance(300);
    ASSERT_EQ(send(u"8"), com::Status::Ok);
    scheduler.Advance(12'400);
    window.ShowOperation();
    EXPECT_EQ(label->text(), QStringLiteral("Find stops running: 12 s"));
    EXPECT_FALSE(label->isHidden());
    scheduler.Advance(60'000);
    window.ShowOperation();
    EXPECT_TRUE(label->isHidden());
}

// On the device's own clock the status bar follows the device as soon as a command ends, before
// anything else runs: a picture taken once the valve has arrived shows nothing running.
TEST(Frame, TheStatusBarShowsACommandEndedAsSoonAsItEnds)
{
    frame::QtScheduler scheduler(100.0);
    auto device = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    device->Connect();
    frame::ModuleLoader loader;
    frame::FrameWindow window(loader, *device, &scheduler);
    auto* label = window.findChild<QLabel*>(QStringLiteral("runningOperation"));
    ASSERT_NE(label, nullptr);
    std::uint32_t word = 0;
    ASSERT_EQ(device->SetParameter(com::BStr(u"3"), com::Variant(), &word), com::Status::Ok);  // a TBT, 1 s
    window.ShowOperation();
    EXPECT_TRUE(label->text().startsWith(QLatin1String("Terminal board test running: ")))
        << label->text().toStdString();
    ASSERT_TRUE(frame::waitFor([&] { return !device->RunningOperation(); }, 10000));
    EXPECT_TRUE(label->isHidden());
    EXPECT_TRUE(label->text().isEmpty()) << label->text().toStdString();
    device->Disconnect();
}

}  // namespace
