#include "framework/ApplicationViewBase.h"
#include "support/FakeAreas.h"
#include "support/FakeControl.h"
#include "support/MockUIController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>

#include <utility>

using namespace orvx;
using framework::CApplicationViewBase;
using ::testing::Return;

namespace {

// A page with the mode button and eight buttons of its own: one more than the mask holds.
class NineButtonPage : public CApplicationViewBase {
public:
    NineButtonPage()
    {
        for (int i = 0; i < 8; ++i) {
            buttons.append(new QPushButton(Surface()));
            AddMethodWindow(buttons.back());
        }
    }
    QList<bool> enabled() const
    {
        QList<bool> result;
        for (const auto& window : MethodWindows())
            result.append(window->isEnabledTo(this));
        return result;
    }
    QList<QPushButton*> buttons;

protected:
    void CreateHeaderControls() override {}
};

class PageBaseEdges : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(controller, GetStatusArea()).WillByDefault(Return(&status));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        page.SetController(&controller);
    }

    test::DeliveryLog log;
    test::FakeStatusArea status{&log};
    ::testing::NiceMock<test::MockUIController> controller;
    NineButtonPage page;
};

TEST_F(PageBaseEdges, LeavingAShownPageClearsTheStatusLineOnlyThen)
{
    status.message = QStringLiteral("Cancelling...");
    page.Deactivate();  // never shown: nothing to clear
    EXPECT_EQ(status.message, QStringLiteral("Cancelling..."));
    page.Activate();
    page.Deactivate();
    EXPECT_TRUE(status.message.isEmpty());
    EXPECT_FALSE(status.message.isNull());
}

TEST_F(PageBaseEdges, CancellingReachesTheDeviceOnlyWhileAnOperationRuns)
{
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("23"), com::Variant())).Times(1);
    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(true));
    page.CancelOperation(QStringLiteral("Cancelling"));
    EXPECT_EQ(status.message, QStringLiteral("Cancelling"));

    ON_CALL(controller, IsOperationRunning()).WillByDefault(Return(false));
    status.message.clear();
    page.CancelOperation(QStringLiteral("Cancelling"));
    EXPECT_TRUE(status.message.isEmpty());
}

TEST_F(PageBaseEdges, TheMaskHoldsEightButtonsAndANinthStaysOff)
{
    page.ApplyButtons(0xFF, true);
    EXPECT_EQ(page.enabled(), (QList<bool>{true, true, true, true, true, true, true, true, false}));
    page.ApplyButtons(0x81);
    EXPECT_EQ(page.enabled(), (QList<bool>{true, false, false, false, false, false, false, true, false}));
    page.buttons.back()->setEnabled(true);
    page.RecordButtons();
    EXPECT_EQ(page.EnableMask(), 0x81);  // the ninth is not recorded
    page.ApplyButtons(0x81);             // unchanged: left as it is
    EXPECT_TRUE(page.buttons.back()->isEnabled());
    page.LockButtons();
    EXPECT_EQ(page.enabled(), QList<bool>(9, false));
    EXPECT_EQ(page.EnableMask(), 0x81);
}

TEST_F(PageBaseEdges, EachNotificationRefreshesItsOwnControls)
{
    for (int id : {2, 3, 5, 7, 8})
        page.RegisterControl(std::make_unique<test::FakeControl>(id, QStringLiteral("tag%1").arg(id)));
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
    const auto refreshed = [this] {
        QList<int> ids;
        for (int id : {2, 3, 5, 7, 8}) {
            auto* control = static_cast<test::FakeControl*>(page.Control(id));
            if (std::exchange(control->refreshes, 0))
                ids.append(id);
        }
        return ids;
    };
    for (const auto& row : rows) {
        page.OnUpdate(row.code, QString());
        EXPECT_EQ(refreshed(), row.refreshed) << row.code;
    }
    page.RefreshByTag(QStringLiteral("tag7"));
    page.RefreshByTag(QStringLiteral("tag4"));
    EXPECT_EQ(refreshed(), QList<int>{7});
}

TEST_F(PageBaseEdges, OnlyCodesOfMinusOneOrLessAreFailuresThatFreeTheButtons)
{
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(4u));
    page.SetRequiredMode(1);  // Setup only: the device's Normal gates the page
    const struct {
        int code;
        const char* method;
        QList<bool> buttons;
    } rows[] = {
        {0, "", {false, false, false}},
        {0, "2", {false, false, false}},
        {-1, "", {true, false, false}},
        {-1, " 0 ", {true, false, false}},
        {-1, "2", {true, false, true}},
        {-1, "x", {true, false, true}},
        {-2147483647 - 1, "2", {true, false, true}},
    };
    for (const auto& row : rows) {
        page.ApplyButtons(0b101, true);
        page.LockButtons();
        page.OnUpdate(row.code, QString::fromLatin1(row.method));
        EXPECT_EQ(page.enabled().mid(0, 3), row.buttons) << row.code << " \"" << row.method << '"';
    }
}

}  // namespace
