#include "controls/UIEventsImpl.h"
#include "device/StringBridge.h"
#include "framework/EditModel.h"
#include "framework/SinglePageEditModel.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "platform/com/ComError.h"
#include "support/FakeAreas.h"
#include "support/FakeBusinessObject.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

using namespace orvx;
using namespace orvx::controls;
using test::FakePage;

namespace {

com::Variant text(const char* t)
{
    return device::textVariant(QString::fromLatin1(t));
}

// An edit model attached to a controller and a fake device, as a control's start-up leaves it.
template <class Model>
class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        device->parameters = {{"20000", com::Variant::boolean(true)},
                              {"15000", com::Variant::boolean(true)},
                              {"1000", text("1")},
                              {"1009", text("0")},
                              {"4003", text("7")},
                              {"16009", text("1")},
                              {"12000", text("0A1F")}};
        controller.SetMainSplitter(&splitter);
        controller.SetToolbarArea(&toolbar, &toolbar, &toolbar);
        controller.SetIdentificationArea(&identification, &identification);
        controller.SetActionArea(&action, &action, &action);
        controller.SetRegistered(true);
        model.Attach(&controller, &texts, device->identity(), QStringLiteral("caller"));
        controller.SetEditModel(&model);
    }

    FakePage* addPage(std::int32_t viewId)
    {
        auto* page = new FakePage(viewId, &log);
        controller.RegisterView(viewId, page);
        return page;
    }

    com::ComPtr<test::FakeBusinessObject> device = com::makeComObject<test::FakeBusinessObject>();
    test::DeliveryLog log;
    framework::CTextProvider texts;
    test::FakeSplitter splitter;
    test::FakeToolbarArea toolbar{&log};
    test::FakeIdentificationArea identification{&log};
    test::FakeActionArea action{&log};
    Model model;
    framework::CUIController controller;
};

using OnlineModel = ModelFixture<framework::CEditModel>;

// Sends a fresh event of one kind, made from the arguments, and answers whether it was handled.
template <class Event, class... Args>
std::function<bool(framework::IUIEditModel&)> sending(Args... args)
{
    return [=](framework::IUIEditModel& model) {
        Event event(args...);
        return model.HandleEvent(event);
    };
}

// Which event kinds each model answers.
TEST(EditModels, EachModelHandlesItsKinds)
{
    auto device = com::makeComObject<test::FakeBusinessObject>();
    device->parameters = {{"1", text("1")}};
    framework::CUIController controller;
    framework::CEditModel online;
    framework::CEditModelOffline offline;
    framework::CEditModelTrend trend;
    for (framework::CEditModelBase* model :
         std::initializer_list<framework::CEditModelBase*>{&online, &offline, &trend})
        model->Attach(&controller, nullptr, device->identity(), {});

    struct Case {
        const char* kind;
        std::function<bool(framework::IUIEditModel&)> send;
        bool online, offline, trend;
    };
    const Case cases[] = {
        {"text get", sending<CTextDataGetEventImpl>(0, 1, "1"), true, true, false},
        {"text set", sending<CTextDataSetEventImpl>(0, 1, "1", "2", true), true, true, true},
        {"command", sending<CCommandEventImpl>(0, 1, "1"), true, true, true},
        {"combo get", sending<CComboBoxGetEventImpl>(0, 1, "1"), true, true, true},
        {"bit get", sending<CBitEnumGetEventImpl>(0, 1, "1"), true, false, false},
        {"bit set", sending<CBitEnumSetEventImpl>(0, 1, "1", 1, true), true, false, false},
        {"view activated", sending<CViewActivatedEventImpl>(0), true, true, true},
        {"check set", sending<CCheckBoxEventImpl>(EventCheckBoxSet, 0, 1, "1", 1), true, false, false},
        {"check get", sending<CCheckBoxEventImpl>(EventCheckBoxGet, 0, 1, "1", 0), true, false, false},
        {"static text", sending<CStaticTextEventImpl>(0, 1, "1"), true, true, true},
        {"radio set", sending<CRadioSetEventImpl>(0, 1, "1", 2), true, false, false},
        {"radio get", sending<CRadioGetEventImpl>(0, 1, "1"), true, false, false},
        {"generic get", sending<CGenericGetEventImpl>(0, 1, "1"), true, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.send(online), c.online) << c.kind;
        EXPECT_EQ(c.send(offline), c.offline) << c.kind;
        EXPECT_EQ(c.send(trend), c.trend) << c.kind;
    }
    class Unknown : public CUIEventBase {
    public:
        Unknown() : CUIEventBase(16) {}
        std::int32_t GetViewId() const override { return 0; }
        std::int32_t GetControlId() const override { return 0; }
    } unknown;
    EXPECT_FALSE(online.HandleEvent(unknown));
}

TEST_F(OnlineModel, WritesNumbersAsDecimalText)
{
    CCheckBoxEventImpl checked(EventCheckBoxSet, 5, 20, "16009", 1);
    CCheckBoxEventImpl cleared(EventCheckBoxSet, 5, 20, "16009", 0);
    CBitEnumSetEventImpl bit31(5, 30, "16050", 0x80000000u, true);
    CBitEnumSetEventImpl notReady(5, 30, "16051", 1, false);
    CRadioSetEventImpl radio(5, 40, "4003", 2);
    CTextDataSetEventImpl entry(5, 14, "1001", "PV-101", true);
    CTextDataSetEventImpl invalidEntry(5, 14, "1002", "x", false);
    CComboBoxSetEventImpl choice(5, 8, "1005", 1, {"Normal", "4", 0});
    CComboBoxSetEventImpl numbered(5, 8, "1006", 1, {"Normal", "4", 3});
    CCommandEventImpl command(5, 9, "0");
    for (CUIEventBase* event : std::initializer_list<CUIEventBase*>{
             &checked, &cleared, &bit31, &notReady, &radio, &entry, &invalidEntry, &choice, &numbered, &command})
        EXPECT_TRUE(model.HandleEvent(*event));

    const auto writes = device->callsOf("SetParameter");
    QStringList written;
    for (const auto& call : writes)
        written << call.argument + "=" +
                       (call.value.isEmpty() ? QStringLiteral("(empty)") : device::variantText(call.value));
    EXPECT_EQ(written,
              (QStringList{"16009=1", "16009=0", "16050=2147483648", "4003=2", "1001=PV-101", "1005=4", "0=(empty)"}));
    for (const auto& call : writes)
        if (!call.value.isEmpty()) {
            EXPECT_EQ(call.value.type(), com::VariantType::Text) << "numbers are written as text";
        }
}

TEST_F(OnlineModel, FailedReadsOfSomeKindsShowInvalidValueOthersEscape)
{
    // A parameter the device does not have (one of another make) says so.
    const std::pair<com::Status, QString> failures[] = {
        {com::Status::Failure, QStringLiteral("invalid value.")},
        {com::Status::NotImplemented, QStringLiteral("not supported.")}};
    for (const auto& [status, shown] : failures) {
        device->failingTags["16009"] = status;
        CBitEnumGetEventImpl bits(5, 30, "16009");
        CCheckBoxEventImpl check(EventCheckBoxGet, 5, 20, "16009", 0);
        CStaticTextEventImpl label(5, 3, "16009");
        CRadioGetEventImpl radio(5, 40, "16009");
        for (CUIEventBase* event : std::initializer_list<CUIEventBase*>{&bits, &check, &label, &radio}) {
            EXPECT_TRUE(model.HandleEvent(*event));
            EXPECT_EQ(event->GetErrorText(), shown);
        }
    }
    // The kinds that let a failure escape say "not supported." of a value the device does not have.
    CTextDataGetEventImpl unsupportedEntry(5, 14, "16009");
    CComboBoxGetEventImpl unsupportedCombo(5, 8, "16009");
    unsupportedCombo.SetChoices({{{"psi", "6", 0}}, 0});
    CGenericGetEventImpl unsupportedList(5, 10, "16009");
    for (CUIEventBase* event :
         std::initializer_list<CUIEventBase*>{&unsupportedEntry, &unsupportedCombo, &unsupportedList}) {
        EXPECT_TRUE(model.HandleEvent(*event)) << "kind " << event->GetType();
        EXPECT_EQ(event->GetErrorText(), QStringLiteral("not supported.")) << "kind " << event->GetType();
    }
    EXPECT_EQ(unsupportedCombo.GetChoices().current, -1);
    device->failingTags["16009"] = com::Status::Failure;
    CTextDataGetEventImpl entry(5, 14, "16009");
    CComboBoxGetEventImpl combo(5, 8, "16009");
    CGenericGetEventImpl list(5, 10, "16009");
    for (CUIEventBase* event : std::initializer_list<CUIEventBase*>{&entry, &combo, &list}) {
        try {
            model.HandleEvent(*event);
            ADD_FAILURE() << "kind " << event->GetType() << " must raise";
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.status(), com::Status::Failure);
        }
    }
    CTextDataSetEventImpl write(5, 14, "16009", "1", true);
    EXPECT_THROW(model.HandleEvent(write), com::ComError);
}

TEST_F(OnlineModel, ReadsFillTheEvents)
{
    CStaticTextEventImpl mode(5, 5, "1000");
    CStaticTextEventImpl unit(5, 6, "4003");
    CComboBoxGetEventImpl combo(5, 8, "4003");
    combo.SetChoices({{{"psi", "6", 0}, {"bar", "7", 0}, {"kpa", "12", 0}}, 0});
    CComboBoxGetEventImpl noMatch(5, 8, "1000");
    noMatch.SetChoices({{{"psi", "6", 0}}, 0});
    CCheckBoxEventImpl check(EventCheckBoxGet, 5, 20, "16009", 0);
    CGenericGetEventImpl faults(21, 10, "12000");
    for (CUIEventBase* event : std::initializer_list<CUIEventBase*>{&mode, &unit, &combo, &noMatch, &check, &faults})
        EXPECT_TRUE(model.HandleEvent(*event));
    EXPECT_EQ(mode.GetStaticText(), QStringLiteral("Manual")) << "tag 1000 shows the mode text";
    EXPECT_EQ(unit.GetStaticText(), QStringLiteral("7"));
    EXPECT_EQ(combo.GetChoices().current, 1);
    EXPECT_EQ(noMatch.GetChoices().current, -1) << "a value that is no choice selects none";
    EXPECT_TRUE(noMatch.IsError());
    EXPECT_FALSE(combo.IsError());
    EXPECT_EQ(check.GetChecked(), 1);
    EXPECT_EQ(faults.GetValue(), text("0A1F"));
}

TEST_F(OnlineModel, WithoutTheParameterInterfaceEveryAccessFails)
{
    device->answersEarlier = false;
    model.Attach(&controller, &texts, device->identity(), {});
    EXPECT_FALSE(model.HasEarlierInterface());
    try {
        model.GetValue(QStringLiteral("1000"));
        FAIL();
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.status(), com::Status::InvalidPointer);
    }
    EXPECT_THROW(model.SetValue(QStringLiteral("1000"), text("1")), com::ComError);
    EXPECT_TRUE(model.GetValue(QString()).isEmpty()) << "an empty tag reads nothing";
    CRadioGetEventImpl radio(5, 40, "4003");
    EXPECT_TRUE(model.HandleEvent(radio));
    EXPECT_EQ(radio.GetErrorText(), QStringLiteral("invalid value."));
}

TEST_F(OnlineModel, AResultForAPageNotShownReachesItThroughTheModel)
{
    FakePage* shown = addPage(0);
    FakePage* owner = addPage(11);
    controller.ActivateView(0);
    controller.SetOperation(true, 11, 508);
    log.clear();
    controller.OnDtmUpdate(508, QStringLiteral("done"));
    EXPECT_EQ(log.filter("page"), QStringList{"page11 508 done"});
    EXPECT_EQ(shown->accessUpdates, 1) << "the shown page re-checks its availability";
    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_EQ(owner->accessUpdates, 0);
    // The device unchanged, the end of another page's operation alone gives the buttons back.
    controller.SetOperation(true, 11, 508);
    controller.OnDtmUpdate(508, QStringLiteral("done"));
    EXPECT_EQ(shown->accessUpdates, 2);
    controller.OnDtmUpdate(508, QStringLiteral("again"));
    EXPECT_EQ(shown->accessUpdates, 2) << "no operation ended";
}

TEST_F(OnlineModel, OnlyTheExpectedCodeACancelOrAFailureEndsTheOperation)
{
    addPage(0);
    addPage(11);
    controller.ActivateView(11);
    struct Case {
        std::int32_t code;
        bool ends;
    };
    for (const Case c : {Case{501, false}, Case{509, false}, Case{508, true}, Case{523, true}, Case{-1, true},
                         Case{0, false}, Case{-6, true}, Case{522, false}, Case{524, false}}) {
        controller.SetOperation(true, 11, 508);
        model.OnUpdate(c.code, QStringLiteral("8"));
        EXPECT_EQ(controller.IsOperationRunning(), !c.ends) << c.code;
    }
}

TEST_F(OnlineModel, DataReloadedReachesTheEsdPagesAndClearsInvalidInputs)
{
    FakePage* esd = addPage(1);
    FakePage* esdSetup = addPage(6);
    FakePage* general = addPage(5);
    controller.ActivateView(6);
    controller.SetFrictionLimitsValid(false);
    log.clear();
    model.OnUpdate(501, QString());
    EXPECT_TRUE(controller.FrictionLimitsValid());
    EXPECT_EQ(log, QStringList{"page1 501"}) << "page 6 is shown: the controller delivers to it";
    EXPECT_EQ(esd->invalidCleared + esdSetup->invalidCleared + general->invalidCleared, 3);

    log.clear();
    controller.SetOperation(true, 1, 519);
    model.OnUpdate(519, QString());
    EXPECT_EQ(log, QStringList{"page1 519"}) << "the owner hears it once, through the model";
}

TEST_F(OnlineModel, AValidationRequestFromTheDeviceValidatesEveryPage)
{
    FakePage* page = addPage(2);
    model.OnUpdate(-7, QStringLiteral("2"));
    model.OnUpdate(-7, QStringLiteral("3"));
    model.OnUpdate(-7, QStringLiteral("two"));
    EXPECT_EQ(page->validated, QList<std::int32_t>{-1});
}

TEST_F(OnlineModel, InitAreasFillsTheToolbarAndIdentification)
{
    splitter.window->resize(1000, 600);
    model.InitAreas();
    ASSERT_EQ(toolbar.actions.size(), 2);
    EXPECT_EQ(toolbar.actions[0].id, 0);
    EXPECT_EQ(toolbar.actions[0].style, framework::ToolbarToggle);
    EXPECT_EQ(toolbar.actions[0].tip, QStringLiteral("Toggle navigation tree"));
    EXPECT_EQ(toolbar.actions[1].id, 1);
    EXPECT_EQ(toolbar.actions[1].style, framework::ToolbarPush);
    EXPECT_EQ(toolbar.actions[1].tip, QStringLiteral("About"));
    EXPECT_TRUE(toolbar.actions[1].hasIcon);
    EXPECT_EQ(identification.makerText, QStringLiteral("Halbrook Norvane"));
    EXPECT_EQ(identification.leftPicture, 269);
    EXPECT_EQ(identification.rightPicture, 277);
    EXPECT_FALSE(action.visible);
    EXPECT_EQ(controller.GetSplitterPosition(), 250);
}

TEST_F(OnlineModel, TheToolbarTogglesTheTreeAndShowsAbout)
{
    test::ScriptedDialogService dialogs;
    CActionEventImpl hide(0, 0);
    CActionEventImpl show(0, 1);
    CActionEventImpl about(1, 2);
    model.HandleEvent(hide);
    EXPECT_TRUE(controller.IsNavigationHidden());
    model.HandleEvent(show);
    EXPECT_FALSE(controller.IsNavigationHidden());
    model.HandleEvent(about);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("Version")));

    device->parameters["20000"] = com::Variant::boolean(false);
    model.HandleEvent(about);
    EXPECT_EQ(dialogs.messages.size(), 1) << "no box without private dialogs";
}

using TrendModel = ModelFixture<framework::CEditModelTrend>;

TEST_F(TrendModel, AboutIsActionZeroAndTheTreeIsHidden)
{
    test::ScriptedDialogService dialogs;
    model.InitAreas();
    ASSERT_EQ(toolbar.actions.size(), 1);
    EXPECT_EQ(toolbar.actions[0].id, 0);
    EXPECT_EQ(toolbar.actions[0].tip, QStringLiteral("About"));
    EXPECT_EQ(identification.makerText, QStringLiteral("Norvane-Halbrook"));
    EXPECT_TRUE(controller.IsNavigationHidden());
    CActionEventImpl about(0, 2);
    model.HandleEvent(about);
    EXPECT_EQ(dialogs.messages.size(), 1);
    log.clear();
    controller.SetOperation(true, 0, 508);
    model.OnUpdate(508, QString());
    EXPECT_TRUE(controller.IsOperationRunning()) << "the trend model keeps no operation record";
}

}  // namespace
