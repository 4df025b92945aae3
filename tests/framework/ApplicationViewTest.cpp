#include "framework/ApplicationViewBase.h"
#include "framework/IStatusArea.h"
#include "framework/ITextResource.h"
#include "framework/PageTable.h"
#include "framework/TooltipRelay.h"
#include "platform/ui/DialogItems.h"
#include "support/FakeControl.h"
#include "support/MockUIController.h"
#include "support/ScriptedDialogService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <stdexcept>

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace orvx;
using framework::CApplicationViewBase;
using test::FakeControl;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

const QString kSetupMessage = QStringLiteral("Please change to Setup mode to activate the method and parameters.");
const QString kOnlineMessage = QStringLiteral("Please change to online mode to activate the page.");

class MockStatusArea : public framework::IStatusArea {
public:
    MOCK_METHOD(void, SetMessage, (const QString&), (override));
    MOCK_METHOD(void, SetConnectionState, (int), (override));
    MOCK_METHOD(void, SetDataSetState, (int), (override));
    MOCK_METHOD(void, SetDataSource, (int), (override));
    MOCK_METHOD(void, SetDeviceStatus, (int), (override));
    MOCK_METHOD(void, SetCommunicating, (bool), (override));
};

class NoTexts : public framework::ITextResource {
public:
    QString GetTextByKey(const QString& key) override { return QStringLiteral("##") + key; }
    QString GetTextById(std::uint32_t id) override { return QStringLiteral("##UI_TEXT_%1").arg(id); }
};

// A page with two operation buttons of its own and the controls the test asks for.
class TestPage : public CApplicationViewBase {
public:
    explicit TestPage(QList<int> controlIds = {}) : m_controlIds(std::move(controlIds))
    {
        start = new QPushButton(QStringLiteral("Start"), Surface());
        stop = new QPushButton(QStringLiteral("Stop"), Surface());
        BodyLayout()->addWidget(start);
        BodyLayout()->addWidget(stop);
        AddMethodWindow(start);
        AddMethodWindow(stop);
        SetEnableMask(0b111);
    }

    QPushButton* start;
    QPushButton* stop;
    QList<std::pair<int, QString>> updates;
    bool failInit = false;
    bool failLoad = false;

    FakeControl* fake(int id) const { return static_cast<FakeControl*>(Control(id)); }
    QList<bool> buttons() const
    {
        QList<bool> states;
        for (const auto& window : MethodWindows())
            states.append(window->isEnabledTo(window->window()));
        return states;
    }
    bool informationShown() const { return !InformationLabel()->isHidden(); }

    void OnUpdate(std::int32_t code, const QString& text) override
    {
        updates.append({code, text});
        CApplicationViewBase::OnUpdate(code, text);
    }
    void LoadViewSetting() override
    {
        CApplicationViewBase::LoadViewSetting();
        if (failLoad)
            throw std::runtime_error("no ViewSetting");
        for (int id : m_controlIds)
            RegisterControl(std::make_unique<FakeControl>(id));
    }

protected:
    void InitDialog() override
    {
        if (failInit)
            throw std::runtime_error("no form");
    }

private:
    QList<int> m_controlIds;
};

class ApplicationView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(4u));
        ON_CALL(controller, IsPrivateDialogEnabled()).WillByDefault(Return(true));
        ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(-1));
        ON_CALL(controller, GetStatusArea()).WillByDefault(Return(&status));
        ON_CALL(controller, GetMainWindow()).WillByDefault(Return(&mainWindow));
        ON_CALL(controller, RegisterView).WillByDefault(Return(true));
    }

    // A page set up as the creation would, without registering it.
    std::unique_ptr<TestPage> makePage(QList<int> controlIds = {}, std::uint32_t requiredMode = 512)
    {
        auto page = std::make_unique<TestPage>(std::move(controlIds));
        page->SetController(&controller);
        page->SetViewId(3);
        page->SetRequiredMode(requiredMode);
        page->LoadViewSetting();
        return page;
    }

    QWidget mainWindow;
    NiceMock<MockStatusArea> status;
    NiceMock<test::MockUIController> controller;
    NoTexts texts;
    test::ScriptedDialogService dialogs;
};

TEST_F(ApplicationView, GatesByModeConnectionAndRights)
{
    struct Case {
        const char* what;
        std::uint32_t required, mode;
        bool connected, writable;
        QString message;  // null: the label stays hidden
        QList<bool> buttons;
        std::uint32_t restriction;
        QList<bool> modeEnables;
    };
    const Case cases[] = {
        {"setup required, device normal", 1, 4, true, true, kSetupMessage, {true, false, false}, 2, {false}},
        {"manual required, device setup", 2, 1, true, true,
         "Please change to Manual mode to activate the method and parameters.", {true, false, false}, 2, {false}},
        {"normal required, device manual", 4, 2, true, true,
         "Please change to Normal mode to activate the method and parameters.", {true, false, false}, 2, {false}},
        {"any mode is never gated", 512, 2, true, true, {}, {true, true, true}, 0, {}},
        {"one of two accepted modes", 5, 4, true, true, {}, {true, true, true}, 0, {}},
        {"offline disables every method", 1, 256, false, true, kOnlineMessage, {false, false, false}, 1, {}},
        {"observer sees no message and starts nothing", 1, 4, true, false, {}, {false, false, false}, 8, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(c.mode));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(c.connected));
        ON_CALL(controller, IsWritable()).WillByDefault(Return(c.writable));
        auto page = makePage({12}, c.required);
        page->Activate();
        EXPECT_EQ(page->informationShown(), !c.message.isNull());
        if (!c.message.isNull()) {
            EXPECT_EQ(page->InformationLabel()->text(), c.message);
        }
        EXPECT_EQ(page->buttons(), c.buttons);
        EXPECT_EQ(page->CurrentRestriction(), c.restriction);
        EXPECT_EQ(page->fake(12)->modeEnables, c.modeEnables);
        EXPECT_EQ(page->fake(12)->appliedEnabled > 0, !c.writable);  // read-only through ApplyEnabled
    }
}

TEST_F(ApplicationView, ReachingTheRequiredModeRestoresTheMaskAndTheControls)
{
    auto page = makePage({12}, 1);
    page->SetEnableMask(0b101);
    page->Activate();
    ASSERT_TRUE(page->informationShown());

    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(1u));
    page->OnUpdate(526, {});
    EXPECT_FALSE(page->informationShown());
    EXPECT_EQ(page->buttons(), (QList<bool>{true, false, true}));
    EXPECT_EQ(page->fake(12)->modeEnables, (QList<bool>{false, true}));

    // A mode change that the page learns of by its result gates it again.
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(2u));
    page->OnUpdate(500, {});
    EXPECT_TRUE(page->informationShown());
    EXPECT_EQ(page->buttons(), (QList<bool>{true, false, false}));
}

TEST_F(ApplicationView, AnotherPagesOperationDisablesMethodsSilentlyUntilItEnds)
{
    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(true));
    ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(7));
    auto page = makePage();
    page->Activate();
    EXPECT_EQ(page->buttons(), (QList<bool>{false, false, false}));
    EXPECT_FALSE(page->informationShown());

    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(false));
    ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(-1));
    page->OnUpdate(525, {});
    EXPECT_EQ(page->buttons(), (QList<bool>{true, true, true}));

    // The page's own operation does not restrict it.
    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(true));
    ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(3));
    page->UpdateAccess(true);
    EXPECT_EQ(page->CurrentRestriction(), 0u);
}

TEST_F(ApplicationView, EveryActivationCatchesUpButAnActivePageIsLeftAlone)
{
    auto page = makePage({}, 1);
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(1u));
    page->Activate();
    EXPECT_TRUE(framework::CTooltipRelay::instance().IsRegistered(page->ToolTips()));
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(4u));
    page->Activate();
    EXPECT_EQ(page->CurrentRestriction(), 0u);

    EXPECT_CALL(status, SetMessage(QString()));
    page->Deactivate();
    EXPECT_FALSE(framework::CTooltipRelay::instance().IsRegistered(page->ToolTips()));
    page->Activate();
    EXPECT_EQ(page->CurrentRestriction(), 2u);
}

TEST_F(ApplicationView, AFailedOperationRestoresWhatItLocked)
{
    struct Case {
        const char* what;
        QString value;
        bool connected;
        std::uint32_t required;
        QList<bool> buttons;
        bool message;
    };
    const Case cases[] = {
        {"mode change failed, page gated", "0", true, 1, {true, false, false}, true},
        {"empty value is the mode change", "", true, 1, {true, false, false}, true},
        {"mode change failed, any mode", "0", true, 512, {true, true, true}, false},
        {"other method, connected", "4", true, 512, {true, true, true}, false},
        {"other method, disconnected", "4", false, 512, {false, false, false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto page = makePage({}, c.required);
        page->RecordButtons();
        page->LockButtons();
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(c.connected));
        page->OnUpdate(-6, c.value);
        EXPECT_EQ(page->buttons(), c.buttons);
        EXPECT_EQ(page->informationShown(), c.message);
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
    }
}

TEST_F(ApplicationView, OperationButtonsRecordLockAndRestore)
{
    auto page = makePage();
    page->start->setEnabled(false);
    page->RecordButtons();
    EXPECT_EQ(page->EnableMask(), 0b101);
    page->LockButtons();
    EXPECT_EQ(page->buttons(), (QList<bool>{false, false, false}));
    page->ApplyButtons(page->EnableMask(), true);
    EXPECT_EQ(page->buttons(), (QList<bool>{true, false, true}));
}

TEST_F(ApplicationView, CancelWithNothingRunningActsAsAnAcknowledgedCancel)
{
    auto page = makePage();
    EXPECT_CALL(controller, SetParameterValue).Times(0);
    page->CancelOperation(QStringLiteral("Cancelling..."));
    EXPECT_EQ(page->updates, (QList<std::pair<int, QString>>{{523, QString()}}));

    ::testing::Mock::VerifyAndClearExpectations(&controller);
    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(true));
    ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(3));
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("23"), com::Variant()));
    EXPECT_CALL(status, SetMessage(QStringLiteral("Cancelling...")));
    page->CancelOperation(QStringLiteral("Cancelling..."));
    EXPECT_EQ(page->updates.size(), 1);  // idle again only when 523 arrives
}

TEST_F(ApplicationView, CountsEachInvalidControlOnceThroughTheCounter)
{
    auto page = makePage({10, 11, 12});
    FakeControl stranger(10);
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(1))).Times(2);
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(-1))).Times(1);
    page->OnControlValidated(page->fake(10), false);
    page->OnControlValidated(page->fake(11), false);
    page->OnControlValidated(page->fake(10), false);  // already counted
    page->OnControlValidated(page->fake(12), true);   // never counted
    page->OnControlValidated(&stranger, false);       // not the page's control
    page->OnControlValidated(page->fake(10), true);
    page->ClearInvalid();                             // data reloaded: nothing is sent
    page->OnControlValidated(page->fake(11), true);
    EXPECT_TRUE(page->CheckValid(-1));
}

TEST_F(ApplicationView, ValidationMessagesOnlyWithPrivateDialogsAndText)
{
    auto page = makePage({10, 11, 12});
    page->fake(10)->validationMessage = QStringLiteral("Value out of range");
    page->fake(12)->validationMessage = QStringLiteral("Text too long");
    for (int id : {12, 11, 10})
        page->OnControlValidated(page->fake(id), false);

    EXPECT_FALSE(page->CheckValid(-1));
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Value out of range", "Text too long"}));
    const ui::MessageRequest& box = dialogs.messages.front();
    EXPECT_EQ(box.owner, page.get());
    EXPECT_EQ(box.caption, QStringLiteral("Orvx ESD HART"));
    EXPECT_EQ(box.buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(box.icon, ui::MessageIcon::Error);

    dialogs.messages.clear();
    EXPECT_FALSE(page->CheckValid(11));  // invalid, but without text: no box
    EXPECT_TRUE(page->CheckValid(13));
    page->ShowValidationErrors(11, 12);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Text too long"}));

    dialogs.messages.clear();
    ON_CALL(controller, IsPrivateDialogEnabled()).WillByDefault(Return(false));
    EXPECT_FALSE(page->CheckValid(-1));
    EXPECT_FALSE(page->CheckValid(10));
    page->ShowValidationErrors(0, 100);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ApplicationView, NotificationsRefreshTheirControlsAndLeaveInvalidInputAlone)
{
    auto page = makePage({3, 4, 5, 7, 8, 20});
    page->OnControlValidated(page->fake(20), false);
    const std::pair<int, QList<int>> cases[] = {
        {500, {5}}, {501, {3, 4, 5, 7, 8}}, {502, {3, 4, 5, 7, 8}},
        {524, {5}}, {525, {3, 4, 5, 7}},    {526, {5}}, {600, {}},
    };
    for (const auto& [code, expected] : cases) {
        for (int id : {3, 4, 5, 7, 8, 20})
            page->fake(id)->refreshes = 0;
        page->OnUpdate(code, {});
        QList<int> refreshed;
        for (int id : {3, 4, 5, 7, 8, 20})
            if (page->fake(id)->refreshes > 0)
                refreshed.append(id);
        EXPECT_EQ(refreshed, expected) << code;
    }
    page->RefreshControls(20);  // asked for by id, an invalid control is refreshed
    EXPECT_EQ(page->fake(20)->refreshes, 1);
}

TEST_F(ApplicationView, RefreshByTagServesTheFirstExactMatch)
{
    auto page = std::make_unique<TestPage>();
    page->RegisterControl(std::make_unique<FakeControl>(12, QStringLiteral("4003")));
    page->RegisterControl(std::make_unique<FakeControl>(5, QStringLiteral("4003")));
    page->RefreshByTag(QStringLiteral("4003"));
    page->RefreshByTag(QStringLiteral("4003 "));
    EXPECT_EQ(page->fake(5)->refreshes, 1);
    EXPECT_EQ(page->fake(12)->refreshes, 0);
}

TEST_F(ApplicationView, ADuplicateControlIdIsRefused)
{
    struct Watched : FakeControl {
        Watched(int id, bool* gone, std::int32_t* seenViewId) : FakeControl(id), gone(gone), seen(seenViewId) {}
        ~Watched() override { *gone = true; }
        void SetViewId(std::int32_t id) override { *seen = id; }
        bool* gone;
        std::int32_t* seen;
    };
    auto page = makePage();
    bool firstGone = false, secondGone = false;
    std::int32_t firstView = -1, secondView = -1;
    EXPECT_TRUE(page->RegisterControl(std::make_unique<Watched>(4, &firstGone, &firstView)));
    EXPECT_FALSE(page->RegisterControl(std::make_unique<Watched>(4, &secondGone, &secondView)));
    EXPECT_EQ(firstView, 3);
    EXPECT_EQ(secondView, -1);
    EXPECT_TRUE(secondGone);
    EXPECT_FALSE(firstGone);
    page.reset();
    EXPECT_TRUE(firstGone);  // the page owns its controls
}

TEST_F(ApplicationView, ViewSettingConfiguresTheNamedControlsOnly)
{
    auto page = makePage({0, 3, 20});
    page->ApplyViewSetting(QStringLiteral(R"(<ViewSetting>
        <ControlData controlId="3" tag="1001"/>
        <Group><ControlData controlId="20" tag="4003" value="12.5"/></Group>
        <ControlData tag="77"/>
        <ControlData controlId="99" tag="5"/>
        <ControlData controlId="x3" tag="6"/>
    </ViewSetting>)"));
    EXPECT_EQ(page->fake(3)->GetTag(), QStringLiteral("1001"));
    EXPECT_EQ(page->fake(20)->GetTag(), QStringLiteral("4003"));
    EXPECT_EQ(page->fake(20)->lastConfiguredValue, QStringLiteral("12.5"));
    EXPECT_EQ(page->fake(0)->GetTag(), QStringLiteral("77"));  // controlId defaults to 0
    for (int id : {0, 3, 20})
        EXPECT_EQ(page->fake(id)->configures, 1) << id;

    page->ApplyViewSetting(QStringLiteral("<ViewSetting><ControlData controlId=\"3\" tag=\"9\">"));
    page->ApplyViewSetting(QString());
    EXPECT_EQ(page->fake(3)->configures, 1);
    EXPECT_EQ(page->fake(3)->GetTag(), QStringLiteral("1001"));
}

TEST_F(ApplicationView, TheHeaderCarriesTheCommonItems)
{
    TestPage page;
    for (int item : {201, 202, 203, 204, 205, 207, 295, 313})
        EXPECT_NE(ui::dialogItem(&page, item), nullptr) << item;
    EXPECT_EQ(ui::dialogItem<QPushButton>(&page, 202)->text(), QStringLiteral("Apply Mode"));
    EXPECT_EQ(page.MethodWindows().front(), ui::dialogItem(&page, 202));
    EXPECT_FALSE(page.informationShown());
}

TEST_F(ApplicationView, ToolTipsWrapAt300PixelsAndCanBeReplacedOrRemoved)
{
    TestPage page;
    const QString text = QStringLiteral("Time in seconds that the valve may take to reach the PST target "
                                        "position before the test is aborted and the valve returns");
    page.SetToolTip(page.start, QStringLiteral("old"));
    page.SetToolTip(page.start, text);
    EXPECT_EQ(page.ToolTips()->TipOf(page.start), text);
    const QFontMetrics metrics(QToolTip::font());
    const QStringList lines = page.start->toolTip().split('\n');
    EXPECT_GT(lines.size(), 1);
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), 300) << line.toStdString();
    EXPECT_EQ(lines.join(' '), text);

    const QString word(200, QLatin1Char('W'));
    EXPECT_EQ(framework::CToolTipHolder::Wrap("a " + word + " b", metrics), "a\n" + word + "\nb");

    page.RemoveToolTip(page.start);
    EXPECT_TRUE(page.start->toolTip().isEmpty());
    EXPECT_TRUE(page.ToolTips()->TipOf(page.start).isNull());
}

TEST_F(ApplicationView, SetScrollSizeScrollsBackToTheOrigin)
{
    TestPage page;
    page.resize(200, 150);
    page.show();
    page.SetScrollSize(QSize(900, 700));
    QCoreApplication::sendPostedEvents();
    QScrollArea* area = page.ScrollArea();
    ASSERT_GT(area->horizontalScrollBar()->maximum(), 0);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 0);
    area->horizontalScrollBar()->setValue(60);
    area->verticalScrollBar()->setValue(40);
    page.SetScrollSize(QSize(900, 700));
    EXPECT_EQ(area->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(area->verticalScrollBar()->value(), 0);
}

TEST_F(ApplicationView, APageThatCannotBeMadeIsNotRegistered)
{
    enum Failure { MakerThrows, MakerGivesNone, InitThrows, LoadThrows, IdTaken };
    ON_CALL(controller, RegisterView).WillByDefault(Return(false));  // the id has a page already
    for (Failure failure : {MakerThrows, MakerGivesNone, InitThrows, LoadThrows, IdTaken}) {
        SCOPED_TRACE(failure);
        QPointer<TestPage> made;
        auto make = [&]() -> std::unique_ptr<CApplicationViewBase> {
            if (failure == MakerThrows)
                throw std::bad_alloc();
            if (failure == MakerGivesNone)
                return nullptr;
            auto page = std::make_unique<TestPage>();
            page->failInit = failure == InitThrows;
            page->failLoad = failure == LoadThrows;
            made = page.get();
            return page;
        };
        EXPECT_CALL(controller, RegisterView).Times(failure == IdTaken ? 1 : 0);
        EXPECT_EQ(CApplicationViewBase::Create(make, 4, &controller, &texts), nullptr);
        EXPECT_TRUE(made.isNull());
        ::testing::Mock::VerifyAndClearExpectations(&controller);
    }

    int made = 0;
    auto counting = [&]() -> std::unique_ptr<CApplicationViewBase> { ++made; return std::make_unique<TestPage>(); };
    EXPECT_EQ(CApplicationViewBase::Create(counting, 4, nullptr, &texts), nullptr);
    EXPECT_EQ(CApplicationViewBase::Create(counting, 4, &controller, nullptr), nullptr);
    EXPECT_EQ(made, 0);
}

TEST_F(ApplicationView, Views8And19AreTwoPagesOfOneClass)
{
    EXPECT_STREQ(framework::FindPageInfo(8)->className, framework::FindPageInfo(19)->className);
    EXPECT_EQ(framework::FindPageInfo(19)->dialogResource, 252);
    EXPECT_EQ(framework::FindPageInfo(19)->viewSettingResource, 227);
    EXPECT_EQ(framework::FindPageInfo(24), nullptr);
    EXPECT_FALSE(framework::SetPageMaker(24, [] { return std::make_unique<TestPage>(); }));

    ASSERT_TRUE(framework::SetPageMaker(8, [] { return std::make_unique<TestPage>(QList<int>{9}); }));
    EXPECT_CALL(controller, RegisterView(8, ::testing::_));
    EXPECT_CALL(controller, RegisterView(19, ::testing::_));
    std::unique_ptr<framework::IApplicationView> switches(framework::CreatePage(8, &controller, &texts));
    std::unique_ptr<framework::IApplicationView> moreSwitches(framework::CreatePage(19, &controller, &texts));
    ASSERT_TRUE(switches && moreSwitches);
    EXPECT_NE(switches.get(), moreSwitches.get());
    EXPECT_EQ(switches->GetWindow()->parentWidget(), &mainWindow);
    EXPECT_EQ(static_cast<TestPage*>(moreSwitches.get())->fake(9)->viewId, 19);

    EXPECT_EQ(framework::CreatePage(7, &controller, &texts), nullptr);  // no maker yet
    EXPECT_EQ(framework::CreatePage(-1, &controller, &texts), nullptr);
    framework::SetPageMaker(19, nullptr);
    EXPECT_EQ(framework::CreatePage(8, &controller, &texts), nullptr);

    framework::SetSinglePageMaker(framework::SinglePage::Trend, [] { return std::make_unique<TestPage>(); });
    EXPECT_CALL(controller, RegisterView(0, ::testing::_));
    std::unique_ptr<framework::IApplicationView> trend(
        framework::CreateSinglePage(framework::SinglePage::Trend, &controller, &texts));
    EXPECT_NE(trend, nullptr);
    EXPECT_EQ(framework::CreateSinglePage(framework::SinglePage::Offline, &controller, &texts), nullptr);
    framework::SetSinglePageMaker(framework::SinglePage::Trend, nullptr);
}

class MouseCounter : public QWidget {
public:
    explicit MouseCounter(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }
    int moves = 0;

protected:
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
};

void moveOver(QWidget* target)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

TEST(TooltipRelay, RelaysOnlyTheMouseOfAPagesDirectChildren)
{
    framework::CTooltipRelay relay;
    QWidget page;
    auto* child = new MouseCounter(&page);
    auto* box = new QWidget(&page);
    auto* grandchild = new MouseCounter(box);
    framework::CToolTipHolder holder;
    relay.acquire();
    relay.Register(&holder, &page);

    moveOver(grandchild);
    moveOver(&page);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(child, &enter);
    EXPECT_EQ(holder.RelayedCount(), 0);

    moveOver(child);
    EXPECT_EQ(holder.LastRelayed(), child);
    EXPECT_EQ(holder.RelayedCount(), 1);
    EXPECT_EQ(child->moves, 1);  // the event still reaches its target
    EXPECT_EQ(grandchild->moves, 1);
    relay.release();
}

TEST(TooltipRelay, CountsUsersAndForgetsThePagesWithTheLast)
{
    framework::CTooltipRelay relay;
    QWidget first, second;
    auto* firstChild = new QWidget(&first);
    auto* secondChild = new QWidget(&second);
    framework::CToolTipHolder holder;
    auto gone = std::make_unique<framework::CToolTipHolder>();
    relay.acquire();
    relay.acquire();
    relay.Register(&holder, &first);
    relay.Register(&holder, &second);  // registered already: keeps its first page
    relay.Register(gone.get(), &second);
    gone.reset();  // a holder destroyed while registered is skipped
    moveOver(secondChild);
    moveOver(firstChild);
    EXPECT_EQ(holder.RelayedCount(), 1);
    EXPECT_EQ(holder.LastRelayed(), firstChild);

    relay.release();
    EXPECT_EQ(relay.RegisteredCount(), 2);
    relay.release();
    EXPECT_FALSE(relay.isInstalled());
    EXPECT_EQ(relay.RegisteredCount(), 0);
    moveOver(firstChild);
    EXPECT_EQ(holder.RelayedCount(), 1);
}

}  // namespace
