#include "controls/DtmComboBoxControl.h"
#include "controls/UIEvents.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageHeader.h"
#include "support/MockUIController.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

using namespace orvx;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

const QString kLeave = QStringLiteral(
    "Leaving Normal Mode will result in loss of\nprocess control!\n\nAre you sure you want to leave Normal Mode?");
const QString kEnter = QStringLiteral(
    "Entering Normal Mode will cause the valve to move\nto its normal operating position!\n\n"
    "Are you sure you want to enter Normal Mode?");

class PageHeader : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        ON_CALL(controller, IsDeviceConnected()).WillByDefault(Return(true));
        ON_CALL(controller, GetOperationOwner()).WillByDefault(Return(-1));
        ON_CALL(controller, HandleEvent(_)).WillByDefault([this](controls::CUIEventBase& event) {
            if (event.GetType() == controls::EventCommand)
                commands.append(static_cast<controls::CCommandEvent&>(event).GetTag());
            return true;
        });
        page.SetController(&controller);
        page.SetViewId(5);
        page.LoadViewSetting();
    }

    // Selects a "Mode to set" position as the user would and presses Apply Mode.
    void press(int position)
    {
        auto* combo = page.findChild<QComboBox*>(QStringLiteral("item_201"));
        combo->setCurrentIndex(position);
        page.ModeButton()->click();
    }

    NiceMock<test::MockUIController> controller;
    test::ScriptedDialogService dialogs;
    framework::CApplicationViewBase page;
    QStringList commands;
};

TEST_F(PageHeader, EveryPageCarriesTheSevenHeaderControls)
{
    for (std::int32_t id = 3; id <= 9; ++id)
        EXPECT_NE(page.Control(id), nullptr) << id;
    const QStringList tags = {"1001", "1003", "1000", "1002", "1004", "1005", "0"};
    for (std::int32_t id = 3; id <= 9; ++id)
        EXPECT_EQ(page.Control(id)->GetTag(), tags[id - 3]);
    auto* combo = page.findChild<QComboBox*>(QStringLiteral("item_201"));
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Normal"));
}

// Each caption labels the widget of its own header field.
TEST_F(PageHeader, CaptionsNameTheirFields)
{
    const std::pair<const char*, int> captions[] = {{"Tag", 203},
                                                    {"Device ID", 204},
                                                    {"Active Mode", 205},
                                                    {"Descriptor", 295},
                                                    {"Final assembly number", 207},
                                                    {"Mode to set", 201}};
    for (const auto& [caption, item] : captions) {
        const QLabel* label = nullptr;
        for (const QLabel* candidate : page.findChildren<QLabel*>())
            if (candidate->text() == QLatin1String(caption))
                label = candidate;
        ASSERT_NE(label, nullptr) << caption;
        ASSERT_NE(label->buddy(), nullptr) << caption;
        EXPECT_EQ(label->buddy()->objectName(), QStringLiteral("item_%1").arg(item)) << caption;
    }
    EXPECT_EQ(page.ModeButton()->objectName(), QStringLiteral("item_202"));
    for (std::int32_t id = 3; id <= 9; ++id)
        EXPECT_TRUE(page.Control(id)->HasWidget()) << id;
}

// A header value can be selected with the mouse, to be copied: it is made selectable as the
// mouse comes over it.
TEST_F(PageHeader, AValueIsSelectableOnceTheMouseIsOverIt)
{
    for (const int item : {203, 204, 205, 295, 207}) {
        auto* value = page.findChild<QLabel*>(QStringLiteral("item_%1").arg(item));
        ASSERT_NE(value, nullptr) << item;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(value, &enter);
        EXPECT_EQ(value->textInteractionFlags(), Qt::TextSelectableByMouse) << item;
    }
}

TEST_F(PageHeader, ApplyModeAsksOnlyAboutNormalAndOnlyWithPrivateDialogs)
{
    struct Case {
        const char* what;
        std::uint32_t current;
        int position;
        bool privateDialogs;
        ui::DialogAnswer answer;
        QString question;  // null: nothing asked
        bool sent;
    };
    const Case cases[] = {
        {"the active mode again", 2, 1, true, ui::DialogAnswer::Ok, {}, false},
        {"manual to setup", 2, 0, true, ui::DialogAnswer::Ok, {}, true},
        {"setup to normal", 1, 2, true, ui::DialogAnswer::Ok, kEnter, true},
        {"setup to normal, cancelled", 1, 2, true, ui::DialogAnswer::Cancel, kEnter, false},
        {"normal to manual", 4, 1, true, ui::DialogAnswer::Ok, kLeave, true},
        {"normal to setup without private dialogs", 4, 0, false, ui::DialogAnswer::Cancel, {}, true},
        {"nothing selected", 1, -1, true, ui::DialogAnswer::Ok, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        commands.clear();
        dialogs.messages.clear();
        dialogs.messageAnswers = {c.answer};
        ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(c.current));
        ON_CALL(controller, IsPrivateDialogEnabled()).WillByDefault(Return(c.privateDialogs));
        page.ApplyButtons(1, true);
        EXPECT_CALL(controller, SetOperation(true, 5, 500)).Times(c.sent ? 1 : 0);
        press(c.position);
        ::testing::Mock::VerifyAndClearExpectations(&controller);
        EXPECT_EQ(dialogs.messageTexts(), c.question.isNull() ? QStringList() : QStringList{c.question});
        if (!c.question.isNull()) {
            EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Orvx ESD HART"));
        }
        EXPECT_EQ(commands, c.sent ? QStringList{"0"} : QStringList());
        EXPECT_EQ(page.ModeButton()->isEnabled(), !c.sent) << "a change on its way locks the buttons";
    }
}

TEST_F(PageHeader, TheResultOrARefusalGivesTheButtonBack)
{
    ON_CALL(controller, GetDeviceMode()).WillByDefault(Return(1u));
    press(1);
    ASSERT_FALSE(page.ModeButton()->isEnabled());
    page.OnUpdate(-2, QStringLiteral("0"));
    EXPECT_TRUE(page.ModeButton()->isEnabled());
    press(1);
    page.OnUpdate(500, QString());
    EXPECT_TRUE(page.ModeButton()->isEnabled());
}

}  // namespace
