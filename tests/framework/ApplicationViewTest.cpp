#include "device/DeviceNames.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "framework/TextProvider.h"
#include "framework/TooltipRelay.h"
#include "support/FakeAreas.h"
#include "support/FakeControl.h"
#include "support/MockUIController.h"
#include "support/ScriptedDialogService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>

#include <stdexcept>
#include <utility>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace orvx;
using framework::CApplicationViewBase;
using test::FakeControl;
using ::testing::Return;

namespace {

// A page with two operation buttons after the mode button; its mask enables the mode button and "stop".
class TestPage : public CApplicationViewBase {
public:
    TestPage()
    {
        AddMethodWindow(start);
        AddMethodWindow(stop);
        SetEnableMask(0b101);
    }

    QPushButton* start = new QPushButton(Surface());
    QPushButton* stop = new QPushButton(Surface());
    bool failLoad = false;

    FakeControl* fake(int id) const { return static_cast<FakeControl*>(Control(id)); }
    QList<bool> buttons() const
    {
        return {ModeButton()->isEnabledTo(this), start->isEnabledTo(this), stop->isEnabledTo(this)};
    }
    bool informationShown() const { return !InformationLabel()->isHidden(); }

protected:
    // Fake controls stand in for the header's, so that tests see every call.
    void CreateHeaderControls() override {}

public:
    void LoadViewSetting() override
    {
        if (failLoad)
            throw std::runtime_error("no ViewSetting");
    }
};

class ApplicationView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(4u));
        ON_CALL(controller, IsPrivateDialogEnabled()).WillByDefault(Return(true));
        ON_CALL(controller, GetMainWindow()).WillByDefault(Return(&mainWindow));
        ON_CALL(controller, RegisterView).WillByDefault(Return(true));
        ON_CALL(controller, GetStatusArea()).WillByDefault(Return(&status));
    }

    // A page of view 3 with the controls asked for, not registered with the controller.
    std::unique_ptr<TestPage> makePage(QList<int> controlIds = {}, std::uint32_t requiredMode = 512)
    {
        auto page = std::make_unique<TestPage>();
        page->SetController(&controller);
        page->SetViewId(3);
        page->SetRequiredMode(requiredMode);
        for (int id : controlIds)
            page->RegisterControl(std::make_unique<FakeControl>(id));
        return page;
    }

    QWidget mainWindow;
    test::DeliveryLog log;
    test::FakeStatusArea status{&log};
    ::testing::NiceMock<test::MockUIController> controller;
    framework::CTextProvider texts;
    test::ScriptedDialogService dialogs;
};

TEST_F(ApplicationView, RestrictionsGateThePageAndLiftingThemRestoresTheMask)
{
    const QString byMode = QStringLiteral("Please change to %1 mode to activate the method and parameters.");
    const struct {
        const char* what;
        std::uint32_t required, mode;
        bool connected, writable;
        int operationOwner;  // -1: none running
        QString message;     // null: the label stays hidden
        QList<bool> buttons, modeEnables;
        std::uint32_t restriction;
    } cases[] = {
        // clang-format off
        {"setup required", 1, 4, true, true, -1, byMode.arg("Setup"), {true, false, false}, {false}, 2},
        {"manual or normal required", 6, 1, true, true, -1, byMode.arg("Manual or Normal"), {true, false, false},
         {false}, 2},
        {"one of two modes", 5, 4, true, true, -1, {}, {true, true, true}, {}, 0},
        {"fail-safe meets none of three", 7, 16, true, true, -1, byMode.arg("Setup or Manual or Normal"),
         {true, false, false}, {false}, 2},
        {"offline", 1, 256, false, true, -1, "Please change to online mode to activate the page.",
         {false, false, false}, {}, 1},
        {"observer", 1, 4, true, false, -1, {}, {false, false, false}, {}, 8},
        {"another page's operation", 512, 2, true, true, 7, {}, {false, false, false}, {}, 4},
        {"the page's own operation", 512, 2, true, true, 3, {}, {true, true, true}, {}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(c.mode));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(c.connected));
        ON_CALL(controller, IsWritable()).WillByDefault(Return(c.writable));
        ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(c.operationOwner != -1));
        ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(c.operationOwner));
        auto page = makePage({12}, c.required);
        page->Activate();
        EXPECT_EQ(page->informationShown() ? page->InformationLabel()->text() : QString(), c.message);
        EXPECT_EQ(page->buttons(), c.buttons);
        EXPECT_EQ(page->CurrentRestriction(), c.restriction);
        EXPECT_EQ(page->fake(12)->modeEnables, c.modeEnables);
        EXPECT_EQ(page->fake(12)->appliedEnabled > 0, !c.writable);  // read-only through ApplyEnabled
        // Every restriction lifted (mode 7 meets any requirement): the mask and the controls come back.
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(7u));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(false));
        page->OnUpdate(525, {});
        EXPECT_FALSE(page->informationShown());
        EXPECT_EQ(page->buttons(), (c.restriction ? QList<bool>{true, false, true} : c.buttons));
        EXPECT_EQ(page->fake(12)->modeEnables, c.modeEnables + QList<bool>(c.modeEnables.size(), true));
    }
}

TEST_F(ApplicationView, ResultsAndActivationsCatchUpWithTheDeviceMode)
{
    const auto& relay = framework::CTooltipRelay::instance();
    auto page = makePage({}, 1);
    page->Activate();
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(1u));
    page->Activate();  // active already: left alone
    EXPECT_TRUE(page->informationShown());
    page->OnUpdate(500, {});  // a result that follows a mode change
    EXPECT_FALSE(page->informationShown());
    EXPECT_EQ(page->buttons(), (QList<bool>{true, false, true}));
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(2u));
    page->OnUpdate(500, {});
    EXPECT_TRUE(page->informationShown());
    EXPECT_EQ(page->buttons(), (QList<bool>{true, false, false}));

    // Meeting the mode lifts the gate, then only re-applies the mask, as does a disconnected device.
    for (std::uint32_t mode : {1u, 1u, 256u, 2u}) {
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(mode));
        page->start->setEnabled(true);
        page->OnUpdate(device::code::ModeChanged, {});
        EXPECT_EQ(page->buttons(), (QList<bool>{true, false, mode != 2})) << mode;
        EXPECT_EQ(page->informationShown(), mode == 2) << mode;
    }
    page->Deactivate();
    EXPECT_FALSE(relay.IsRegistered(page->ToolTips()));
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(1u));
    page->Activate();
    EXPECT_FALSE(page->informationShown());
    EXPECT_TRUE(relay.IsRegistered(page->ToolTips()));
}

// A failure is a code of -1 or less; its value names the method, and 0 (or nothing, or blanks
// around 0) the mode change.
TEST_F(ApplicationView, AFailedOperationRestoresTheRecordedButtons)
{
    const struct {
        std::int32_t code;
        const char* value;
        bool connected;
        std::uint32_t required;
        QList<bool> before, after;
    } cases[] = {
        {-6, "0", true, 1, {true, false, true}, {true, false, false}},  // the mode change failed: its button back
        {-6, "", true, 1, {true, false, true}, {true, false, false}},   // an empty value is the mode change
        {-1, " 0 ", true, 1, {true, false, true}, {true, false, false}},
        {-6, "0", true, 512, {true, true, false}, {true, true, false}},
        {-6, "4", true, 512, {false, true, false}, {false, true, false}},
        {-6, "x", true, 1, {true, false, true}, {true, false, true}},  // no method number: the mask comes back
        {-1, "4", true, 512, {false, true, false}, {false, true, false}},
        {-2147483647 - 1, "4", true, 512, {false, true, false}, {false, true, false}},
        {0, "4", true, 512, {false, true, false}, {false, false, false}},  // no failure: still locked
        {-6, "4", false, 512, {true, true, false}, {false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " \"" << c.value << "\", connected " << c.connected);
        auto page = makePage({}, c.required);
        for (int i = 0; i < 3; ++i)
            page->MethodWindows()[i]->setEnabled(c.before[i]);
        page->RecordButtons();
        page->LockButtons();
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(c.connected));
        page->OnUpdate(c.code, QString::fromUtf8(c.value));
        EXPECT_EQ(page->buttons(), c.after);
    }
}

// Each common notification refreshes its own controls of the page and no others.
TEST_F(ApplicationView, EachNotificationRefreshesItsOwnControls)
{
    auto page = makePage();
    for (int id : {2, 3, 5, 7, 8})
        page->RegisterControl(std::make_unique<FakeControl>(id, QStringLiteral("tag%1").arg(id)));
    const struct {
        int code;
        QList<int> refreshed;
    } rows[] = {
        {500, {5}},
        {501, {2, 3, 5, 7, 8}},
        {502, {2, 3, 5, 7, 8}},
        {503, {}},
        {523, {}},
        {524, {5}},
        {525, {3, 5, 7}},
        {526, {5}},
        {527, {}},
        {0, {}},
        {-1, {}},
    };
    const auto refreshed = [&page] {
        QList<int> ids;
        for (int id : {2, 3, 5, 7, 8})
            if (std::exchange(page->fake(id)->refreshes, 0))
                ids.append(id);
        return ids;
    };
    for (const auto& row : rows) {
        page->OnUpdate(row.code, QString());
        EXPECT_EQ(refreshed(), row.refreshed) << row.code;
    }
    page->RefreshByTag(QStringLiteral("tag7"));
    page->RefreshByTag(QStringLiteral("tag4"));
    EXPECT_EQ(refreshed(), QList<int>{7});
}

// The enabled-set mask has eight bits: the mode button and seven of the page's own.
TEST_F(ApplicationView, TheMaskHoldsEightButtonsAndANinthStaysOff)
{
    auto page = makePage();
    QList<QPushButton*> more;
    for (int i = 0; i < 6; ++i) {
        more.append(new QPushButton(page->Surface()));
        page->AddMethodWindow(more.back());
    }
    const auto enabled = [&page] {
        QList<bool> result;
        for (const auto& window : page->MethodWindows())
            result.append(window->isEnabledTo(page.get()));
        return result;
    };
    page->ApplyButtons(0xFF, true);
    EXPECT_EQ(enabled(), (QList<bool>{true, true, true, true, true, true, true, true, false}));
    page->ApplyButtons(0x81);
    EXPECT_EQ(enabled(), (QList<bool>{true, false, false, false, false, false, false, true, false}));
    more.back()->setEnabled(true);
    page->RecordButtons();
    EXPECT_EQ(page->EnableMask(), 0x81);  // the ninth is not recorded
    page->ApplyButtons(0x81);             // unchanged: left as it is
    EXPECT_TRUE(more.back()->isEnabled());
    page->LockButtons();
    EXPECT_EQ(enabled(), QList<bool>(9, false));
    EXPECT_EQ(page->EnableMask(), 0x81);
}

TEST_F(ApplicationView, LeavingAShownPageClearsTheStatusLineOnlyThen)
{
    auto page = makePage();
    status.message = QStringLiteral("Cancelling...");
    page->Deactivate();  // never shown: nothing to clear
    EXPECT_EQ(status.message, QStringLiteral("Cancelling..."));
    page->Activate();
    page->Deactivate();
    EXPECT_TRUE(status.message.isEmpty());
    EXPECT_FALSE(status.message.isNull());
}

TEST_F(ApplicationView, CancellingReachesTheDeviceOnlyWhileAnOperationRuns)
{
    auto page = makePage();
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("23"), com::Variant())).Times(1);
    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(true));
    page->CancelOperation(QStringLiteral("Cancelling"));
    EXPECT_EQ(status.message, QStringLiteral("Cancelling"));

    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(false));
    status.message.clear();
    page->CancelOperation(QStringLiteral("Cancelling"));
    EXPECT_TRUE(status.message.isEmpty());
}

TEST_F(ApplicationView, InvalidInputIsCountedOnceLeftOnScreenAndReportedWithPrivateDialogs)
{
    auto page = makePage({10, 11, 12, 13});
    page->fake(10)->validationMessage = QStringLiteral("Value out of range");
    page->fake(12)->validationMessage = QStringLiteral("Text too long");
    FakeControl stranger(10);
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(1))).Times(3);
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(-1))).Times(1);
    for (int id : {12, 11, 10, 10})  // the second 10 is counted already
        page->OnControlValidated(page->fake(id), false);
    page->OnControlValidated(page->fake(13), true);  // never counted
    page->OnControlValidated(&stranger, true);       // not the page's control
    page->OnUpdate(501, {});
    page->RefreshControls(11);  // asked for by id, an invalid control is refreshed
    for (auto [id, refreshes] : {std::pair{10, 0}, {11, 1}, {12, 0}, {13, 1}})
        EXPECT_EQ(page->fake(id)->refreshes, refreshes) << id;
    EXPECT_FALSE(page->CheckValid(-1));
    EXPECT_FALSE(page->CheckValid(11));  // invalid, but without text: no box
    EXPECT_TRUE(page->CheckValid(13));
    page->ShowValidationErrors(11, 12);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Value out of range", "Text too long", "Text too long"}));
    ON_CALL(controller, IsPrivateDialogEnabled()).WillByDefault(Return(false));
    EXPECT_FALSE(page->CheckValid(10));
    page->ShowValidationErrors(0, 100);
    EXPECT_EQ(dialogs.messages.size(), 3);

    page->OnControlValidated(page->fake(10), true);
    page->ClearInvalid();  // data reloaded: nothing is sent
    page->OnControlValidated(page->fake(11), true);
    EXPECT_TRUE(page->CheckValid(-1));
}

TEST_F(ApplicationView, ViewSettingConfiguresTheNamedControlsOnly)
{
    auto page = makePage({0, 3, 20});
    FakeControl* three = page->fake(3);
    EXPECT_FALSE(page->RegisterControl(std::make_unique<FakeControl>(3)));  // the id is taken
    EXPECT_EQ(three->viewId, 3);
    page->ApplyViewSetting(QStringLiteral(R"(<ViewSetting>
        <ControlData controlId="3" tag="1001"/>
        <Group><ControlData controlId="20" tag="4003" value="12.5"/></Group>
        <ControlData tag="77"/>
        <ControlData controlId="99" tag="5"/>
        <ControlData controlId="x3" tag="6"/>
    </ViewSetting>)"));
    EXPECT_EQ(three->GetTag(), QStringLiteral("1001"));
    EXPECT_EQ(page->fake(20)->lastConfiguredValue, QStringLiteral("12.5"));
    for (int id : {0, 3, 20})
        EXPECT_EQ(page->fake(id)->configures, 1) << id;  // control 0 by default
    page->ApplyViewSetting(QStringLiteral("<ViewSetting><ControlData controlId=\"3\" tag=\"9\">"));
    page->ApplyViewSetting(QString());
    EXPECT_EQ(three->configures, 1);
}

TEST_F(ApplicationView, ToolTipsWrapAt300Pixels)
{
    TestPage page;
    const QString text = QStringLiteral("Time in seconds that the valve may take to reach the PST target "
                                        "position before the test is aborted and the valve returns");
    page.SetToolTip(page.start, text);
    const QFontMetrics metrics(QToolTip::font());
    const QStringList lines = page.start->toolTip().split('\n');
    ASSERT_GT(lines.size(), 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_LE(metrics.horizontalAdvance(lines[i]), 300) << lines[i].toStdString();
        // Filled: the next line's first word would not have fitted.
        if (i + 1 < lines.size()) {
            EXPECT_GT(metrics.horizontalAdvance(lines[i] + ' ' + lines[i + 1].section(' ', 0, 0)), 300) << i;
        }
    }
    EXPECT_EQ(lines.join(' '), text);
}

TEST_F(ApplicationView, ToolTipsFollowTheToolTipFont)
{
    const QFont before = QToolTip::font();
    QFont larger = before;
    larger.setPointSizeF(before.pointSizeF() * 2);
    const QString text = QStringLiteral("Time in seconds that the valve may take to reach the PST target position");
    TestPage page;
    page.SetToolTip(page.start, text);
    QToolTip::setFont(larger);
    page.SetToolTip(page.stop, text);
    QToolTip::setFont(before);
    const QFontMetrics metrics(larger);
    const QStringList lines = page.stop->toolTip().split('\n');
    EXPECT_GT(lines.size(), page.start->toolTip().split('\n').size());
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), framework::CToolTipHolder::kWrapWidth) << line.toStdString();
}

TEST_F(ApplicationView, APageThatCannotBeMadeIsNotRegistered)
{
    enum Failure { MakerThrows, MakerGivesNone, LoadThrows, IdTaken, NoController, NoTexts };
    ON_CALL(controller, RegisterView).WillByDefault(Return(false));  // the id has a page already
    for (Failure failure : {MakerThrows, MakerGivesNone, LoadThrows, IdTaken, NoController, NoTexts}) {
        SCOPED_TRACE(failure);
        QPointer<TestPage> made;
        auto make = [&]() -> std::unique_ptr<CApplicationViewBase> {
            if (failure == MakerThrows)
                throw std::bad_alloc();
            if (failure == MakerGivesNone)
                return nullptr;
            auto page = std::make_unique<TestPage>();
            page->failLoad = failure == LoadThrows;
            made = page.get();
            return page;
        };
        EXPECT_CALL(controller, RegisterView).Times(failure == IdTaken ? 1 : 0);
        EXPECT_EQ(CApplicationViewBase::Create(make, 4, failure == NoController ? nullptr : &controller,
                                               failure == NoTexts ? nullptr : &texts),
                  nullptr);
        EXPECT_TRUE(made.isNull());
        ::testing::Mock::VerifyAndClearExpectations(&controller);
    }
}

TEST_F(ApplicationView, Views8And19AreTwoPagesOfOneClass)
{
    using framework::CreatePage;
    using View = std::unique_ptr<framework::IApplicationView>;
    EXPECT_FALSE(framework::SetPageMaker(24, [] { return std::make_unique<TestPage>(); }));
    ASSERT_TRUE(framework::SetPageMaker(8, [] { return std::make_unique<TestPage>(); }));
    EXPECT_CALL(controller, RegisterView(8, ::testing::_));
    EXPECT_CALL(controller, RegisterView(19, ::testing::_));
    View switches(CreatePage(8, &controller, &texts)), moreSwitches(CreatePage(19, &controller, &texts));
    ASSERT_TRUE(switches && moreSwitches);
    EXPECT_EQ(switches->GetWindow()->parentWidget(), &mainWindow);
    EXPECT_EQ(static_cast<TestPage*>(moreSwitches.get())->ViewId(), 19);
    EXPECT_EQ(CreatePage(7, &controller, &texts), nullptr);  // no maker yet
    framework::SetPageMaker(19, nullptr);
    EXPECT_EQ(CreatePage(8, &controller, &texts), nullptr);
}

struct MouseCounter : QWidget {
    explicit MouseCounter(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
    int moves = 0;
};

void moveOver(QWidget* target)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

TEST(TooltipRelay, RelaysTheMouseOfRegisteredPagesDirectChildrenWhileInUse)
{
    framework::CTooltipRelay relay;
    QWidget page, second;
    auto* child = new MouseCounter(&page);
    framework::CToolTipHolder holder;
    auto gone = std::make_unique<framework::CToolTipHolder>();
    relay.acquire();
    relay.acquire();
    relay.Register(&holder, &page);
    relay.Register(&holder, &second);  // registered already: keeps its first page
    relay.Register(gone.get(), &second);
    gone.reset();  // a holder destroyed while registered is skipped
    for (QWidget* notAChild : {new QWidget(new QWidget(&page)), &page, new QWidget(&second)})
        moveOver(notAChild);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(child, &enter);
    moveOver(child);
    EXPECT_EQ(holder.RelayedCount(), 1);
    EXPECT_EQ(holder.LastRelayed(), child);
    EXPECT_EQ(child->moves, 1);  // the event still reaches its target

    relay.release();  // one user left
    moveOver(child);
    relay.release();
    EXPECT_EQ(relay.RegisteredCount(), 0);
    moveOver(child);
    EXPECT_EQ(holder.RelayedCount(), 2);
}

}  // namespace
