// The module over a positioner reached by HART-IP: orvx-hart-device in its own process, the HART
// business object in this one, as orvx-frame --device hosts them.
#include "ModuleFixture.h"
#include "frame/HostedControl.h"
#include "frame/LinkedDevice.h"
#include "frame/ModuleLoader.h"
#include "hart/DeviceProcess.h"
#include "host/Guids.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QThread>

using namespace orvx;

namespace {

using test::Entry;
using test::Module;

template <class F>
bool waitFor(F done, int ms = 8000)
{
    return test::waitFor(done, ms);
}

TEST_F(Module, TheMainViewShowsADeviceOverHartIpAndChangesItsMode)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    hart::test::DeviceProcess server({"--port", "0"});
    ASSERT_NE(server.port(), 0);
    std::string error;
    auto device = frame::LinkedDevice::Make("hart-ip://127.0.0.1:" + std::to_string(server.port()), error);
    ASSERT_TRUE(device) << error;
    device->SetPrivateDialogs(false);  // no box may wait for a user in a test
    device->Connect();
    ASSERT_TRUE(device->WaitConnected(8000)) << device->Status().toStdString();
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e-link"));
        ASSERT_EQ(online.Start(&parent, device->BusinessObject()), QString());
        QWidget* window = online.Window();
        ASSERT_NE(window, nullptr);
        auto text = [&](int item) { return test::itemText(window, item); };
        EXPECT_EQ(text(203), QStringLiteral("PV-101")) << "the device's tag, read over the link";
        EXPECT_EQ(text(205), QStringLiteral("Normal"));

        QPushButton* applyMode = test::applyMode(window, 1);
        ASSERT_TRUE(applyMode);
        EXPECT_FALSE(applyMode->isEnabled()) << "the change is on its way";
        EXPECT_TRUE(waitFor([&] { return text(205) == QStringLiteral("Manual"); })) << text(205).toStdString();
        EXPECT_TRUE(waitFor([&] { return applyMode->isEnabled(); }));

        // The device dies: the page says so, and the link says why.
        server.stop(SIGKILL);
        EXPECT_TRUE(waitFor([&] { return !device->Status().isEmpty(); }));
        online.Release();
    }
    entry<Entry>("DllUnregisterServer")();
}

// A HART device of another make answers the universal commands only: the overview shows what
// they give, and says "not supported." where the positioner's own values would stand.
TEST_F(Module, ADeviceOfAnotherMakeShowsWhatItHasAndSaysWhatItHasNot)
{
    ASSERT_EQ(entry<Entry>("DllRegisterServer")(), 0);
    hart::test::DeviceProcess server({"--port", "0", "--other-make", "0"});
    ASSERT_NE(server.port(), 0);
    std::string error;
    auto device = frame::LinkedDevice::Make("hart-ip://127.0.0.1:" + std::to_string(server.port()), error);
    ASSERT_TRUE(device) << error;
    device->SetPrivateDialogs(false);
    device->Connect();
    ASSERT_TRUE(device->WaitConnected(8000)) << device->Status().toStdString();
    frame::ModuleLoader loader;
    QWidget parent;
    parent.resize(1000, 700);
    {
        frame::HostedControl online(loader, host::CLSID_OrvxESDDTMGUIView, QStringLiteral("e2e-other"));
        ASSERT_EQ(online.Start(&parent, device->BusinessObject()), QString());
        QWidget* window = online.Window();
        const struct {
            int item;
            QString shown;
            const char* why;
        } expected[] = {
            {203, QStringLiteral("PV-101"), "the tag, from command 13"},
            {236, QStringLiteral("50 %"), "the valve position, the primary variable of command 3"},
            {233, QStringLiteral("12 mA"), "the loop current, from command 3"},
            {239, QStringLiteral("not supported."), "the actuator pressure is the positioner's own"},
            {205, QStringLiteral("Unknown"), "so is the mode"},
        };
        for (const auto& e : expected)
            EXPECT_EQ(test::itemText(window, e.item), e.shown) << e.why;
        online.Release();
    }
    entry<Entry>("DllUnregisterServer")();
}

}  // namespace
