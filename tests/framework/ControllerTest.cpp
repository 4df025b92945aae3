#include "controls/UIEventsImpl.h"
#include "device/StringBridge.h"
#include "framework/UIController.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "support/RecordingEditModel.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>

using namespace orvx;
using framework::CUIController;
using test::FakePage;

namespace {

// A controller wired as a control's window composition would wire it, over a fake device.
class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        device->parameters = {{"20000", com::Variant::boolean(true)},
                              {"15000", com::Variant::boolean(true)},
                              {"1009", com::Variant::uint32(0)},
                              {"1000", com::Variant::uint32(3)}};
        model.Attach(&controller, nullptr, device->identity(), QStringLiteral("caller"));
        controller.SetEditModel(&model);
        controller.SetRegistered(true);
        controller.SetMainSplitter(&splitter);
        controller.SetKeyboardNavigation(&keyboard);
        controller.SetActionArea(&action, &action, &action);
        controller.SetIdentificationArea(&identification, &identification);
        controller.SetStatusArea(&status, &status);
        controller.SetToolbarArea(&toolbar, &toolbar, &toolbar);
        model.makePage = [this](std::int32_t id) -> framework::IApplicationView* {
            if (id > 23)
                return nullptr;
            auto* page = new FakePage(id, &log);
            pages[id] = page;
            return page;
        };
    }

    com::ComPtr<test::FakeBusinessObject> device = com::makeComObject<test::FakeBusinessObject>();
    test::DeliveryLog log;
    test::RecordingEditModel model{&log};
    test::FakeSplitter splitter;
    test::FakeKeyboardNavigation keyboard;
    test::FakeActionArea action{&log};
    test::FakeIdentificationArea identification{&log};
    test::FakeStatusArea status{&log};
    test::FakeToolbarArea toolbar{&log};
    std::map<std::int32_t, FakePage*> pages;
    CUIController controller;  // destroyed first: it destroys the pages it shows
};

TEST_F(ControllerTest, WritableUnlessObserverOrUnregistered)
{
    struct Case {
        const char* level;
        bool registered;
        bool writable;
    };
    const Case cases[] = {
        {"", true, true},          {"Observer", true, true},  // the comparison is exact
        {"observer", true, false}, {"maintenance", true, true}, {"maintenance", false, false}, {"", false, false},
    };
    for (const auto& c : cases) {
        controller.SetRegistered(c.registered);
        controller.SetUserLevel(QString::fromLatin1(c.level));
        EXPECT_EQ(controller.IsWritable(), c.writable) << c.level << " " << c.registered;
    }
    controller.SetUserLevel(QString());
    EXPECT_TRUE(controller.GetUserLevel().isNull()) << "an absent level differs from an empty one";
}

TEST_F(ControllerTest, AChangeOfWritabilityReachesEveryPage)
{
    controller.ActivateView(3);
    controller.ActivateView(5);
    controller.SetUserLevel(QStringLiteral("maintenance"));
    EXPECT_EQ(pages[3]->writeAccessRefreshes, 0) << "still writable: nothing to re-apply";
    controller.SetUserLevel(QStringLiteral("observer"));
    EXPECT_EQ(pages[3]->writeAccessRefreshes, 1);
    EXPECT_EQ(pages[5]->writeAccessRefreshes, 1);
    EXPECT_EQ(pages[5]->accessUpdates, 1) << "the shown page also recomputes its restriction";
    controller.SetUserLevel(QStringLiteral("observer"));
    EXPECT_EQ(pages[3]->writeAccessRefreshes, 1);
}

TEST_F(ControllerTest, DeviceModeAndModeText)
{
    struct Case {
        const char* connected;  // "15000"; null: the read fails
        const char* state;      // "1009"
        const char* mode;       // "1000"
        std::uint32_t expected;
        const char* text;
    };
    const Case cases[] = {
        {"1", "0", "0", 1, "Setup"},
        {"1", "0", "1", 2, "Manual"},
        {"1", "0", "3", 4, "Normal"},
        {"1", "0", "2", 1, "Setup"},
        {"1", "64", "3", 4, "Normal / FailHigh"},
        {"1", "64", "1", 2, "Manual / FailHigh"},
        {"1", "1", "3", 8, "Low Power"},
        {"1", "2", "3", 16, "FailSafe"},
        {"1", "4", "3", 32, "Fatal"},
        {"1", "128", "3", 128, "MarginalPower"},
        {"1", "8", "3", 1, "Setup"},
        {"0", "64", "3", 256, "Disconnected"},
        {nullptr, "0", "1", 2, "Manual"},  // a failing connection flag counts as connected
        // A state or mode that cannot be read is no mode: taken for Setup it would open the
        // pages that stroke the valve.
        {"1", "x", "3", 0, "Unknown"},
        {"1", "0", "x", 0, "Unknown"},
    };
    for (const auto& c : cases) {
        device->parameters["1009"] = device::textVariant(QString::fromLatin1(c.state));
        device->parameters["1000"] = device::textVariant(QString::fromLatin1(c.mode));
        if (c.connected) {
            device->failingTags.remove("15000");
            device->parameters["15000"] = device::textVariant(QString::fromLatin1(c.connected));
        } else {
            device->failingTags["15000"] = com::Status::Failure;
        }
        EXPECT_EQ(controller.GetDeviceMode(), c.expected) << c.state << "/" << c.mode;
        device->calls.clear();
        EXPECT_EQ(controller.GetModeText().toStdString(), c.text) << c.state << "/" << c.mode;
        if (c.expected == framework::ModeDisconnected) {
            for (const auto& call : device->calls)
                EXPECT_NE(call.argument, QStringLiteral("1009")) << "a disconnected device's state is not read";
        }
    }
}

// A page that asks for the device's mode twice while it handles a notification, the device
// changing its mode in between.
class AskingPage : public FakePage {
public:
    AskingPage(framework::IUIController& controller, test::FakeBusinessObject& device, test::DeliveryLog* log)
        : FakePage(9, log), m_controller(controller), m_device(device)
    {
    }
    QList<std::uint32_t> modes;
    void OnUpdate(std::int32_t code, const QString& text) override
    {
        FakePage::OnUpdate(code, text);
        modes.append(m_controller.GetDeviceMode());
        m_device.parameters["1000"] = device::textVariant(QStringLiteral("3"));
        modes.append(m_controller.GetDeviceState().mode);
    }

private:
    framework::IUIController& m_controller;
    test::FakeBusinessObject& m_device;
};

int readsOf(const test::FakeBusinessObject& device, const char* tag)
{
    int reads = 0;
    for (const test::Call& call : device.callsOf(QStringLiteral("GetParameter")))
        reads += call.argument == QLatin1String(tag);
    return reads;
}

TEST_F(ControllerTest, ANotificationReadsTheDeviceStateOnceAndEveryoneInItSeesTheSame)
{
    auto* page = new AskingPage(controller, *device, &log);
    ASSERT_TRUE(controller.RegisterView(9, page));
    splitter.window->show();
    controller.ActivateView(9);

    // The failure first: a state that cannot be read is Unknown for the whole notification, and
    // said once.
    device->parameters["1000"] = com::Variant::uint32(1);
    device->failingTags["1009"] = com::Status::Failure;
    device->calls.clear();
    controller.OnDtmUpdate(524, QString());
    EXPECT_EQ(page->modes, (QList<std::uint32_t>{framework::ModeUndetermined, framework::ModeUndetermined}));
    EXPECT_EQ(readsOf(*device, "1009"), 1);
    EXPECT_TRUE(status.message.contains(QLatin1String("1009"))) << status.message.toStdString();

    device->failingTags.clear();
    device->parameters["1000"] = com::Variant::uint32(1);
    page->modes.clear();
    device->calls.clear();
    controller.OnDtmUpdate(524, QString());
    EXPECT_EQ(page->modes, (QList<std::uint32_t>{framework::ModeManual, framework::ModeManual}))
        << "the change waits for the next notification";
    for (const char* tag : {"15000", "1009", "1000"})
        EXPECT_EQ(readsOf(*device, tag), 1) << tag;
    EXPECT_EQ(readsOf(*device, "20000"), 0) << "no box was to be shown";
    // Outside a notification the state is derived when asked.
    EXPECT_EQ(controller.GetDeviceMode(), framework::ModeNormal);
}

TEST_F(ControllerTest, WithoutADeviceTheStateIsDisconnectedAndNothingIsRead)
{
    controller.SetEditModel(nullptr);
    device->calls.clear();
    const framework::DeviceState state = controller.GetDeviceState();
    EXPECT_FALSE(state.connected);
    EXPECT_EQ(state.mode, framework::ModeDisconnected);
    EXPECT_EQ(controller.GetModeText(), QStringLiteral("Disconnected"));
    EXPECT_FALSE(controller.IsPrivateDialogEnabled());
    EXPECT_TRUE(device->calls.isEmpty());
    EXPECT_TRUE(status.messages.isEmpty()) << "no read failed: none was made";
}

TEST_F(ControllerTest, TheShownPageRechecksItsGatingOncePerNotificationThatChangesIt)
{
    controller.ActivateView(3);
    controller.OnDtmUpdate(524, QString());
    EXPECT_EQ(pages[3]->accessUpdates, 1) << "the first notification's state always counts";
    controller.OnDtmUpdate(524, QString());
    EXPECT_EQ(pages[3]->accessUpdates, 1) << "unchanged state";
    device->parameters["1000"] = com::Variant::uint32(1);
    controller.OnDtmUpdate(524, QString());
    EXPECT_EQ(pages[3]->accessUpdates, 2);

    // New user rights and a new mode in one notification: every page takes the rights, and the
    // shown page rechecks once, when the notification has been handled.
    device->parameters["1000"] = com::Variant::uint32(0);
    controller.OnDtmUpdate(1, test::FakeBusinessObject::stateDocumentOf({{"userLevel", "observer"}}));
    EXPECT_EQ(pages[3]->writeAccessRefreshes, 1);
    EXPECT_EQ(pages[3]->accessUpdates, 3);
}

TEST_F(ControllerTest, APageDestroyedWithItsWindowIsForgotten)
{
    controller.ActivateView(4);
    controller.ActivateView(5);
    delete pages[4];  // as its parent window takes it when it goes
    EXPECT_EQ(controller.GetView(4), nullptr);
    controller.OnDtmUpdate(524, QString());
    controller.RefreshPage(-1, 3);
    controller.ApplyWritability();
    controller.ActivateView(4);
    ASSERT_NE(controller.GetView(4), nullptr) << "a new page is made for the view";
    EXPECT_EQ(controller.GetView(4), pages[4]);
    controller.DestroyViews();
}

TEST_F(ControllerTest, RefreshesAndSettingsReachOnlyThePagesTheyName)
{
    controller.ActivateView(3);
    controller.ActivateView(5);
    controller.RefreshControl(5, QStringLiteral("1005"));
    controller.RefreshControl(7, QStringLiteral("1006"));  // no such page
    controller.RefreshPage(3, 12);
    controller.RefreshPage(-1, 4);
    controller.ApplyPageSettings(3, QStringLiteral("<ViewSetting/>"));
    controller.ApplyPageSettings(9, QStringLiteral("<Other/>"));
    EXPECT_EQ(pages[5]->refreshedTags, QStringList{"1005"});
    EXPECT_EQ(pages[3]->refreshedControls, (QList<std::int32_t>{12, 4}));
    EXPECT_EQ(pages[5]->refreshedControls, QList<std::int32_t>{4});
    EXPECT_EQ(pages[3]->appliedSetting, QStringLiteral("<ViewSetting/>"));
    EXPECT_TRUE(pages[5]->appliedSetting.isEmpty());
}

TEST_F(ControllerTest, FrameworkFlagsAnswerTrueOnFailure)
{
    device->failingTags["20000"] = com::Status::Failure;
    device->parameters["15000"] = device::textVariant("no boolean");
    EXPECT_TRUE(controller.IsPrivateDialogEnabled());
    EXPECT_TRUE(controller.IsDeviceConnected());
    device->failingTags.clear();
    device->parameters["20000"] = com::Variant::boolean(false);
    EXPECT_FALSE(controller.IsPrivateDialogEnabled());
}

TEST_F(ControllerTest, NotificationsPassTheAreasInOrderThenTheShownPage)
{
    controller.ActivateView(0);
    log.clear();
    controller.OnDtmUpdate(526, QStringLiteral("x"));
    EXPECT_EQ(log, (QStringList{"action 526 x", "editmodel 526 x", "identification 526 x", "status 526 x",
                                "toolbar 526 x", "page0 526 x"}));
}

TEST_F(ControllerTest, Code100ShowsItsBoxAndReachesNobody)
{
    test::ScriptedDialogService dialogs;
    controller.ActivateView(0);
    log.clear();
    controller.OnDtmUpdate(100, QString());
    EXPECT_TRUE(log.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Orvx ESD"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("PST Schedule will not be download."));
    EXPECT_EQ(dialogs.messages[0].buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(dialogs.messages[0].owner, nullptr);
}

TEST_F(ControllerTest, AnotherPagesResultDoesNotReachTheShownPage)
{
    controller.ActivateView(0);
    controller.SetOperation(true, 11, 508);
    log.clear();
    controller.OnDtmUpdate(508, QString());
    EXPECT_FALSE(log.contains("page0 508"));
    controller.SetOperation(true, 0, 500);
    controller.OnDtmUpdate(500, QString());
    EXPECT_TRUE(log.contains("page0 500"));
}

TEST_F(ControllerTest, TheStateDocumentSetsUserLevelAndPrivateDialogs)
{
    controller.OnDtmUpdate(
        1, test::FakeBusinessObject::stateDocumentOf({{"userLevel", "observer"}, {"isPrivateDialogEnabled", "1"}}));
    EXPECT_EQ(controller.GetUserLevel(), QStringLiteral("observer"));
    EXPECT_TRUE(controller.GetPrivateDialogFlag());
    // Empty attributes change nothing; other texts than "1" disable.
    controller.OnDtmUpdate(
        1, test::FakeBusinessObject::stateDocumentOf({{"userLevel", ""}, {"isPrivateDialogEnabled", "true"}}));
    EXPECT_EQ(controller.GetUserLevel(), QStringLiteral("observer"));
    EXPECT_FALSE(controller.GetPrivateDialogFlag());
    controller.OnDtmUpdate(1, QStringLiteral("<broken"));
    EXPECT_EQ(controller.GetUserLevel(), QStringLiteral("observer"));
}

TEST_F(ControllerTest, ActivatingAViewCreatesItOnceAndSwapsThePagePane)
{
    controller.ActivateView(4);
    ASSERT_TRUE(pages.count(4));
    EXPECT_EQ(splitter.page, pages[4]);
    EXPECT_EQ(keyboard.slots_[1], pages[4]);
    EXPECT_TRUE(pages[4]->active);
    EXPECT_EQ(controller.GetActiveViewId(), 4);

    controller.ActivateView(7);
    EXPECT_FALSE(pages[4]->active);
    EXPECT_TRUE(pages[4]->isHidden());
    EXPECT_EQ(splitter.page, pages[7]);

    FakePage* first = pages[4];
    controller.ActivateView(4);
    EXPECT_EQ(pages[4], first) << "a page is created once";
    EXPECT_EQ(first->activations, 2);
    EXPECT_EQ(model.activatedViews, (QList<std::int32_t>{4, 7, 4}));
}

TEST_F(ControllerTest, AViewWithoutAPageChangesNothing)
{
    controller.ActivateView(2);
    controller.ActivateView(99);
    EXPECT_EQ(controller.GetActiveViewId(), 2);
    EXPECT_EQ(splitter.page, pages[2]);
    EXPECT_EQ(controller.GetView(99), nullptr);
}

TEST_F(ControllerTest, AViewOfTheTreeWithoutAPageShowsAnEmptyBodyNotTheLastPage)
{
    controller.ActivateView(2);
    const auto makePage = model.makePage;
    model.makePage = [](std::int32_t) -> framework::IApplicationView* { return nullptr; };
    controller.ActivateView(14);
    EXPECT_EQ(controller.GetActiveViewId(), 14);
    EXPECT_FALSE(pages[2]->IsActivated());
    EXPECT_TRUE(pages[2]->isHidden());
    const auto* body = qobject_cast<QLabel*>(splitter.page);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->text(), QStringLiteral("This page is not available."));

    model.makePage = makePage;
    controller.ActivateView(2);
    EXPECT_EQ(splitter.page, pages[2]);
    EXPECT_TRUE(body->isHidden());
}

TEST_F(ControllerTest, RegisteringAnIdTwiceKeepsTheFirstPage)
{
    auto* first = new FakePage(3, &log);
    FakePage second(3, &log);
    EXPECT_TRUE(controller.RegisterView(3, first));
    EXPECT_FALSE(controller.RegisterView(3, &second));
    EXPECT_EQ(controller.GetView(3), first);
}

TEST_F(ControllerTest, ValidatingPagesShowsTheFrictionMessageWhenLimitsConflict)
{
    test::ScriptedDialogService dialogs;
    controller.ActivateView(1);
    controller.ActivateView(6);
    controller.SetFrictionLimitsValid(false);
    controller.ValidatePages(-1);
    controller.SetFrictionLimitsValid(true);
    EXPECT_EQ(pages[1]->validated, QList<std::int32_t>{-1});
    EXPECT_EQ(pages[6]->validated, QList<std::int32_t>{-1});
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Friction Low Limit must be less than Friction High Limit."));
    EXPECT_EQ(dialogs.messages[0].icon, ui::MessageIcon::Error);
    EXPECT_EQ(dialogs.messages[0].owner, pages[6]);

    controller.ValidatePages(12);
    EXPECT_EQ(dialogs.messages.size(), 1) << "consistent limits: no message";
}

TEST_F(ControllerTest, SplitterFractionAndHiddenAreas)
{
    splitter.window->resize(800, 400);
    controller.SetSplitterFraction(4);
    EXPECT_EQ(controller.GetSplitterPosition(), 200);
    EXPECT_EQ(splitter.position, 200);
    controller.SetSplitterFraction(0);  // no fraction: nothing changes
    EXPECT_EQ(controller.GetSplitterPosition(), 200);

    controller.HideActionArea(true);
    EXPECT_FALSE(action.visible);
    EXPECT_TRUE(action.window.isHidden());
    controller.HideToolbarArea(true);
    EXPECT_FALSE(toolbar.visible);
    controller.SetNavigationHidden(true);
    EXPECT_TRUE(controller.IsNavigationHidden());
    controller.SetEditModel(nullptr);
    controller.SetNavigationHidden(false);  // only with an edit model
    EXPECT_TRUE(controller.IsNavigationHidden());
}

TEST_F(ControllerTest, DestroyingViewsDestroysPagesAndTheirWindows)
{
    controller.ActivateView(0);
    controller.ActivateView(1);
    QPointer<QWidget> window = pages[1];
    controller.DestroyViews();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(controller.GetView(0), nullptr);
    EXPECT_EQ(controller.GetActiveViewId(), -1);
    EXPECT_EQ(keyboard.slots_[1], nullptr);
}

}  // namespace
