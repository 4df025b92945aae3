// Device > Connect...: the window that lists what answers at an address, and the frame switching
// to the device picked there. orvx-hart-device runs in its own process.
#include "ModuleFixture.h"
#include "frame/ConnectDialog.h"
#include "frame/FrameWindow.h"
#include "frame/ModuleLoader.h"
#include "hart/DeviceProcess.h"
#include "platform/com/ComObject.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

using namespace orvx;
using test::Entry;
using test::Module;

namespace {

template <class F>
bool waitFor(F done, int ms = 10000)
{
    return test::waitFor(done, ms);
}

// A key pressed where the focus is, as the keyboard delivers it: unused, it goes to the parents.
void press(QWidget* widget, int key)
{
    widget->setFocus();
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

struct Parts {
    QLineEdit* address;
    QLineEdit* keyFile;
    QLabel* status;
    QLabel* statusIcon;
    QTreeWidget* found;
    QPushButton* connect;
};

Parts partsOf(frame::ConnectDialog& dialog)
{
    QPushButton* connect = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QLatin1String("&Connect"))
            connect = button;
    return {dialog.findChild<QLineEdit*>(QStringLiteral("address")),
            dialog.findChild<QLineEdit*>(QStringLiteral("keyFile")),
            dialog.findChild<QLabel*>(QStringLiteral("status")),
            dialog.findChild<QLabel*>(QStringLiteral("statusIcon")),
            dialog.findChild<QTreeWidget*>(QStringLiteral("found")),
            connect};
}

TEST(ConnectDialog, ABadAddressShowsWhyAndLeavesNothingToConnectTo)
{
    const struct {
        const char* address;
        const char* reason;
    } bad[] = {
        {"hart-ip://127.0.0.1:99999", "the port is a number from 1 to 65535"},
        {"http://127.0.0.1", "a device is hart-ip://HOST[:PORT][/POLL]"},
        {"hart-ip://", "no host"},
        {"hart-ip+tls://127.0.0.1", "A hart-ip+tls:// address needs its key file."},
    };
    for (const auto& b : bad) {
        frame::ConnectDialog dialog(QString{});
        dialog.show();
        const Parts parts = partsOf(dialog);
        ASSERT_TRUE(parts.address && parts.status && parts.found && parts.connect);
        parts.address->setText(QString::fromLatin1(b.address));
        press(parts.address, Qt::Key_Return);
        EXPECT_FALSE(dialog.Searching()) << b.address;
        EXPECT_TRUE(parts.status->text().contains(QLatin1String(b.reason))) << parts.status->text().toStdString();
        EXPECT_FALSE(parts.statusIcon->isHidden()) << "a problem carries the warning sign";
        EXPECT_EQ(parts.found->topLevelItemCount(), 0);
        EXPECT_FALSE(parts.connect->isEnabled());
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the field searches, it does not close the window";
    }
}

TEST(ConnectDialog, TheKeyFileIsAskedOnlyForATlsAddress)
{
    frame::ConnectDialog dialog(QString{});
    const Parts parts = partsOf(dialog);
    EXPECT_EQ(parts.address->text(), QLatin1String(frame::ConnectDialog::kDefaultAddress));
    EXPECT_FALSE(parts.keyFile->isEnabled());
    parts.address->setText(QStringLiteral("hart-ip+tls://10.0.0.7"));
    EXPECT_TRUE(parts.keyFile->isEnabled());
    parts.address->setText(QStringLiteral("hart-ip+udp://10.0.0.7"));
    EXPECT_FALSE(parts.keyFile->isEnabled());

    frame::ConnectDialog current(QStringLiteral("hart-ip://10.0.0.7:5095/3"));
    EXPECT_EQ(partsOf(current).address->text(), QStringLiteral("hart-ip://10.0.0.7:5095"))
        << "the device shown now, without its poll address: the search asks them all";
}

TEST(ConnectDialog, ListsTheDevicesThatAnswerAndHandsBackTheOnePicked)
{
    hart::test::DeviceProcess server({"--port", "0", "--devices", "2"});
    ASSERT_NE(server.port(), 0);
    const QString endpoint = QStringLiteral("hart-ip://127.0.0.1:%1").arg(server.port());
    frame::ConnectDialog dialog(endpoint + QStringLiteral("/0"));
    dialog.show();
    const Parts parts = partsOf(dialog);
    dialog.findChild<QSpinBox*>()->setValue(4);
    press(parts.address, Qt::Key_Return);
    EXPECT_TRUE(dialog.Searching());
    ASSERT_TRUE(waitFor([&] { return !dialog.Searching(); }));
    EXPECT_EQ(parts.status->text(), QStringLiteral("2 devices answered at poll addresses 0 to 4."));
    EXPECT_TRUE(parts.statusIcon->isHidden());
    ASSERT_EQ(parts.found->topLevelItemCount(), 2);
    const QTreeWidgetItem* second = parts.found->topLevelItem(1);
    EXPECT_EQ(second->text(0), QStringLiteral("1"));
    EXPECT_EQ(second->text(1), QStringLiteral("PV-101"));
    EXPECT_EQ(second->text(2), QStringLiteral("0A1B01"));
    EXPECT_EQ(second->text(3), QStringLiteral("00E4 / E4A1"));

    parts.found->clearSelection();
    EXPECT_FALSE(parts.connect->isEnabled()) << "nothing picked";
    parts.found->setCurrentItem(parts.found->topLevelItem(1));
    EXPECT_TRUE(parts.connect->isEnabled());
    press(parts.found, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ChosenAddress(), endpoint + QStringLiteral("/1"));
    EXPECT_EQ(dialog.KeyFile(), QString());
}

// The plant adds what a gateway reaches: every device listed, or those picked, by poll address.
TEST(ConnectDialog, APlantConnectsToEveryDeviceListedOrToThosePicked)
{
    hart::test::DeviceProcess server({"--port", "0", "--devices", "3"});
    ASSERT_NE(server.port(), 0);
    const QString endpoint = QStringLiteral("hart-ip://127.0.0.1:%1").arg(server.port());
    const auto search = [&](frame::ConnectDialog& dialog) {
        dialog.show();
        dialog.findChild<QSpinBox*>()->setValue(3);
        dialog.Search();
        return waitFor([&] { return !dialog.Searching(); });
    };
    {
        frame::ConnectDialog dialog(endpoint, nullptr, frame::ConnectDialog::Pick::Many);
        dialog.ConnectAll();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << "nothing listed yet";
        EXPECT_TRUE(dialog.ChosenAddresses().isEmpty());
        ASSERT_TRUE(search(dialog));
        ASSERT_EQ(partsOf(dialog).found->topLevelItemCount(), 3);
        dialog.ConnectAll();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.ChosenAddresses(), (QStringList{endpoint + "/0", endpoint + "/1", endpoint + "/2"}));
    }
    frame::ConnectDialog dialog(endpoint, nullptr, frame::ConnectDialog::Pick::Many);
    ASSERT_TRUE(search(dialog));
    const Parts parts = partsOf(dialog);
    parts.found->clearSelection();
    parts.found->topLevelItem(2)->setSelected(true);
    parts.found->topLevelItem(0)->setSelected(true);
    ASSERT_TRUE(parts.connect->isEnabled());
    parts.connect->click();
    EXPECT_EQ(dialog.ChosenAddresses(), (QStringList{endpoint + "/0", endpoint + "/2"}));
}

TEST(ConnectDialog, EscapeClosesTheWindowAndStopsItsSearch)
{
    hart::test::DeviceProcess server({"--port", "0"});
    frame::ConnectDialog dialog(QStringLiteral("hart-ip://127.0.0.1:%1/0").arg(server.port()));
    dialog.show();
    const Parts parts = partsOf(dialog);
    dialog.findChild<QSpinBox*>()->setValue(63);
    dialog.Search();
    ASSERT_TRUE(waitFor([&] { return parts.status->text().startsWith(QLatin1String("Asking poll address 2 of 63")); }))
        << parts.status->text().toStdString();
    QElapsedTimer clock;
    clock.start();
    press(parts.found, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ChosenAddress(), QString());
    EXPECT_TRUE(waitFor([&] { return !dialog.Searching(); }, 3000)) << "the search ends with the window";
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(Module, TheFrameLeavesTheSimulatorForThePickedDeviceAndOneDeviceForAnother)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    hart::test::DeviceProcess server({"--port", "0", "--devices", "2"});
    ASSERT_NE(server.port(), 0);
    const QString endpoint = QStringLiteral("hart-ip://127.0.0.1:%1").arg(server.port());
    simulator::ManualScheduler scheduler;
    auto simulated = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    frame::ModuleLoader loader;
    {
        frame::FrameWindow window(loader, *simulated);
        ASSERT_EQ(window.Open(frame::FrameWindow::Control::Online), QString());
        ASSERT_EQ(window.Open(frame::FrameWindow::Control::Trend), QString());
        ASSERT_TRUE(test::menuAction(window, QStringLiteral("&Device"), QStringLiteral("&Connect...")));
        QAction* privateDialogs = test::menuAction(window, QStringLiteral("&Device"),
                                                   QStringLiteral("&Private dialogs"));
        ASSERT_TRUE(privateDialogs);
        privateDialogs->setChecked(false);  // no box may wait for a user in a test, on either device
        auto* tabs = window.findChild<QTabWidget*>();

        EXPECT_EQ(window.SwitchTo(QStringLiteral("hart-ip://127.0.0.1:0/1")).toStdString(),
                  "'hart-ip://127.0.0.1:0/1': the port is a number from 1 to 65535");
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvx ESD DTM - simulated positioner"));
        EXPECT_EQ(tabs->count(), 2) << "a refused address leaves the window as it was";

        ASSERT_EQ(window.SwitchTo(endpoint + QStringLiteral("/1")), QString());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvx ESD DTM - %1/1").arg(endpoint));
        EXPECT_EQ(test::menuAction(window, QStringLiteral("&Simulate"), QStringLiteral("PST &history...")), nullptr)
            << "the simulator's menu goes with it";
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Online"));
        EXPECT_TRUE(waitFor([&] { return test::itemText(&window, 203) == QStringLiteral("PV-101"); }))
            << test::itemText(&window, 203).toStdString();
        EXPECT_TRUE(window.findChild<QLabel*>(QStringLiteral("runningOperation"))->isHidden()) << "the device answers";

        // From one link to the next: the one before stops while its controls are gone.
        ASSERT_EQ(window.Open(frame::FrameWindow::Control::Offline), QString());
        ASSERT_EQ(window.SwitchTo(endpoint + QStringLiteral("/0")), QString());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvx ESD DTM - %1/0").arg(endpoint));
        EXPECT_EQ(tabs->count(), 1);
        waitFor([] { return false; }, 600);  // the main view's refreshes over the new link
        EXPECT_EQ(test::itemText(&window, 203), QStringLiteral("PV-101"));
        window.close();
    }
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace
