// The commissioning pages over a fake device: the live bars of Commission Service (view 14), the
// hand drives of Manual Setpoint (16) and the fixed output of Position Retransmit (17).

#include "controls/DtmTextControl.h"
#include "framework/ApplicationViewBase.h"
#include "support/PageFixture.h"
#include "views/RetransmitDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace orvx;

namespace {

enum Item { FullOpenItem = 213, FullCloseItem = 214, AsPositionItem = 215, SetpointItem = 210 };
enum RetransmitItem { SetItem = 213, FinishedItem = 214, HighItem = 208, LowItem = 209, OutputItem = 206 };

class CommissionPages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1000", "1"},
                                {"1009", "0"},
                                {"4007", "6"},
                                {"2003", "42.5"},
                                {"2006", "20"},
                                {"9000", "50"},
                                {"10000", "100"},
                                {"10001", "0"},
                                {"10002", "0"}},
                               /*messageBoxes=*/true);
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetStatusArea(&status, nullptr);
        splitter.parent.show();
    }

    framework::CApplicationViewBase* show(std::int32_t view) { return page = showPage(view); }
    QPushButton* button(int number) const { return item<QPushButton>(page, number); }
    std::uint8_t enabled() const { return enabledButtons(*page); }
    void enter(int number, const QString& text) const { PageFixture::enter(page, number, text); }
    void privateDialogs(bool on) { device->parameters["20000"] = com::Variant::boolean(on); }
    // The values written to a tag, in order.
    QStringList written(const char* tag) const
    {
        QStringList values;
        for (const test::Call& call : device->callsOf(QStringLiteral("SetParameter")))
            if (call.argument == QLatin1String(tag))
                values.append(device::variantText(call.value));
        return values;
    }

    framework::CApplicationViewBase* page = nullptr;
};

TEST_F(CommissionPages, CommissionServiceBarsFollowTheDevicesPressureUnit)
{
    ASSERT_NE(show(14), nullptr);
    const auto* pressure = item<QProgressBar>(page, 209);
    const auto* supply = item<QProgressBar>(page, 210);
    EXPECT_EQ(item<QLabel>(page, 222)->text(), QStringLiteral("42.5 %"));
    const struct {
        const char* unit;
        std::int32_t code;
        int maximum;
        const char* high;
    } steps[] = {{"7", 501, 10, "10 bar"}, {"12", 502, 1000, "1000 kpa"}, {"6", 524, 150, "150 psi"}};
    for (const auto& step : steps) {
        device->parameters["4007"] = device::textVariant(step.unit);
        deliver(step.code);
        EXPECT_EQ(pressure->maximum(), step.maximum) << step.unit;
        EXPECT_EQ(supply->maximum(), step.maximum) << step.unit;
        EXPECT_EQ(item<QLabel>(page, 297)->text(), QLatin1String(step.high)) << step.unit;
        EXPECT_EQ(item<QLabel>(page, 299)->text(), QLatin1String(step.high)) << step.unit;
    }
    device->parameters["2003"] = device::textVariant("7.5");
    deliver(524);
    EXPECT_EQ(item<QLabel>(page, 222)->text(), QStringLiteral("7.5 %"));
}

// Each drive sends its own command, waits for its own result code and locks the page until the
// device answers, cancels or fails.
TEST_F(CommissionPages, ManualDrivesSendTheirCommandAndLockThePageUntilTheDeviceAnswers)
{
    const struct {
        int button;
        const char* caption;
        const char* command;
        std::int32_t expected;
        std::int32_t answer;
        const char* answerValue;
    } drives[] = {
        {FullOpenItem, "Full Open", "14", 514, 514, ""},
        {FullCloseItem, "Full Close", "15", 515, 515, ""},
        {AsPositionItem, "As Position in %", "16", 516, 516, ""},
        {FullOpenItem, "Full Open", "14", 514, 523, ""},
        {FullCloseItem, "Full Close", "15", 515, -6, "15"},
        {AsPositionItem, "As Position in %", "16", 516, -2, "16"},
    };
    ASSERT_NE(show(16), nullptr);
    auto* setpoint = item<QLineEdit>(page, SetpointItem);
    for (const auto& drive : drives) {
        SCOPED_TRACE(testing::Message() << drive.command << " answered " << drive.answer);
        device->calls.clear();
        EXPECT_EQ(enabled(), 0b1111);
        EXPECT_EQ(button(drive.button)->text().remove(QLatin1Char('&')), QLatin1String(drive.caption));
        button(drive.button)->click();
        EXPECT_EQ(device->writtenTags(), QStringList{QLatin1String(drive.command)});
        EXPECT_EQ(controller.GetOperationOwner(), 16);
        EXPECT_EQ(controller.GetOperationCode(), drive.expected);
        EXPECT_EQ(enabled(), 0);
        EXPECT_FALSE(setpoint->isEnabled());
        deliver(drive.answer, drive.answerValue);
        EXPECT_FALSE(controller.IsOperationRunning());
        EXPECT_EQ(enabled(), 0b1111);
        EXPECT_TRUE(setpoint->isEnabled());
    }
    EXPECT_EQ(status.message, QLatin1String("Device is busy, please wait a moment!")) << "the last drive's answer";
    device->parameters["2003"] = device::textVariant("100");
    deliver(524);
    EXPECT_EQ(item<QLabel>(page, 218)->text(), QStringLiteral("100 %"));
}

// A typed entry the device does not take stops the command that relies on it: the valve is not
// driven to the old setpoint, nor the output fixed at a value the device does not hold.
TEST_F(CommissionPages, AnEntryTheDeviceRefusesStopsItsCommandAndSaysWhy)
{
    const struct {
        std::int32_t view;
        int entry;
        const char* typed;
        const char* tag;
        int button;
        const char* says;
    } rows[] = {
        {16, SetpointItem, "75", "9000", AsPositionItem, "The manual setpoint could not be written: "},
        {17, OutputItem, "12", "10002", SetItem, "The analog output could not be written: "},
    };
    for (const auto& row : rows) {
        for (const bool messageBoxes : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.tag << (messageBoxes ? " with message boxes" : ""));
            privateDialogs(messageBoxes);
            ASSERT_NE(show(row.view), nullptr);
            const std::uint8_t before = enabled();
            device->failingTags[QString::fromLatin1(row.tag)] = com::Status::Failure;
            device->calls.clear();
            dialogs.messages.clear();
            auto* entry = item<QLineEdit>(page, row.entry);
            entry->setText(QLatin1String(row.typed));
            entry->setModified(true);
            button(row.button)->click();
            EXPECT_EQ(device->writtenTags(), QStringList{QLatin1String(row.tag)}) << "tried, and nothing after it";
            EXPECT_FALSE(controller.IsOperationRunning());
            EXPECT_EQ(enabled(), before);
            EXPECT_EQ(entry->text(), QLatin1String(row.typed));
            EXPECT_TRUE(status.message.startsWith(QLatin1String(row.says))) << status.message.toStdString();
            EXPECT_EQ(dialogs.messageTexts(), messageBoxes ? QStringList{status.message} : QStringList{});
            device->failingTags.clear();
        }
    }
    auto* retransmit = dynamic_cast<views::CRetransmitDlg*>(page);
    EXPECT_FALSE(retransmit->OutputFixed());
    EXPECT_TRUE(status.warning.isEmpty()) << "no output is fixed";
}

TEST_F(CommissionPages, ASetpointOutOfRangeStartsNothing)
{
    ASSERT_NE(show(16), nullptr);
    auto* setpoint = dynamic_cast<controls::CDtmTextControl*>(page->Control(13));
    const QString message = QStringLiteral("Manual SetPoint value must be within 0 and 100.");
    for (const bool messageBoxes : {true, false}) {
        privateDialogs(messageBoxes);
        dialogs.messages.clear();
        device->calls.clear();
        item<QLineEdit>(page, SetpointItem)->setText(QStringLiteral("150"));
        button(AsPositionItem)->click();
        EXPECT_TRUE(device->writtenTags().isEmpty()) << messageBoxes;
        EXPECT_FALSE(controller.IsOperationRunning()) << messageBoxes;
        EXPECT_EQ(dialogs.messageTexts(), messageBoxes ? QStringList{message} : QStringList{}) << messageBoxes;
        EXPECT_FALSE(setpoint->IsValid()) << messageBoxes << ": the entry shows red";
        EXPECT_EQ(enabled(), 0b1111) << messageBoxes;
    }
    // A valid entry not yet sent goes to the device before the drive.
    device->calls.clear();
    item<QLineEdit>(page, SetpointItem)->setText(QStringLiteral("100"));
    item<QLineEdit>(page, SetpointItem)->setModified(true);
    button(AsPositionItem)->click();
    EXPECT_EQ(device->writtenTags(), (QStringList{QStringLiteral("9000"), QStringLiteral("16")}));
}

TEST_F(CommissionPages, ManualSetpointWaitsForManualMode)
{
    device->parameters["1000"] = device::textVariant("0");
    ASSERT_NE(show(16), nullptr);
    EXPECT_EQ(enabled(), 0b0001) << "Apply Mode only";
    EXPECT_FALSE(item<QLineEdit>(page, SetpointItem)->isEnabled());
    EXPECT_TRUE(page->InformationLabel()->text().contains(QLatin1String("Manual")));
    device->parameters["1000"] = device::textVariant("1");
    deliver(500);
    EXPECT_EQ(enabled(), 0b1111);
    EXPECT_TRUE(item<QLineEdit>(page, SetpointItem)->isEnabled());
}

TEST_F(CommissionPages, TheRetransmitterRangeMustSpanMoreThanFivePercent)
{
    ASSERT_NE(show(17), nullptr);
    auto* retransmit = dynamic_cast<views::CRetransmitDlg*>(page);
    const struct {
        const char* high;
        const char* low;
        bool consistent;
        QList<int> counted;
    } steps[] = {
        {"55", "50", false, {1}},       // exactly 5 apart
        {"55.1", "50", true, {1, -1}},  // just over
        {"50", "55", false, {1, -1, 1}},
        {"52", "50", false, {1, -1, 1}},  // counted once while it stays wrong
    };
    for (const auto& step : steps) {
        enter(LowItem, QLatin1String(step.low));
        enter(HighItem, QLatin1String(step.high));
        EXPECT_EQ(retransmit->RangeConsistent(), step.consistent) << step.high << " " << step.low;
        EXPECT_EQ(counted(), step.counted) << step.high << " " << step.low;
    }
    EXPECT_FALSE(page->CheckValid(-1));
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral(
                  "Retransmitter Range High must be more than Retransmitter Range Low by at least 5%.")});
    page->ClearInvalid();
    EXPECT_TRUE(retransmit->RangeConsistent());
}

// The range is compared exactly at 5 %, for any pair of decimal entries.
TEST_F(CommissionPages, TheRetransmitterRangeIsComparedExactlyAtFivePercent)
{
    ASSERT_NE(show(17), nullptr);
    auto* retransmit = dynamic_cast<views::CRetransmitDlg*>(page);
    const struct {
        const char* high;
        const char* low;
        bool consistent;
    } rows[] = {
        {"8.3", "3.3", false}, {"8.31", "3.3", true},     {"-127.8", "-132.8", false}, {"-127.79", "-132.8", true},
        {"55", "50", false},   {"55.000001", "50", true}, {"199", "194", false},       {"0.3", "-4.7", false},
        {"100", "0", true},    {"-194", "-199", false},   {"-193.9", "-199", true},    {"5", "0", false},
    };
    for (const auto& row : rows) {
        enter(LowItem, QLatin1String(row.low));
        enter(HighItem, QLatin1String(row.high));
        EXPECT_EQ(retransmit->RangeConsistent(), row.consistent) << row.high << " over " << row.low;
    }
}

TEST_F(CommissionPages, SetFixesAValidOutputAndFinishedAlwaysWritesZero)
{
    ASSERT_NE(show(17), nullptr);
    auto* retransmit = dynamic_cast<views::CRetransmitDlg*>(page);
    const QString refused = QStringLiteral("Analog Output value must be within 3.2 and 22 or 0 for normal mode.");
    const struct {
        const char* output;
        QStringList written;
        bool fixed;
        QStringList messages;
    } sets[] = {
        {"0", {"10002", "17"}, false, {}},  // normal mode: accepted, nothing fixed
        {"2", {}, false, {refused}},
        {"22.1", {}, false, {refused}},
        {"3.2", {"10002", "17"}, true, {}},
    };
    for (const auto& set : sets) {
        device->calls.clear();
        dialogs.messages.clear();
        item<QLineEdit>(page, OutputItem)->setText(QLatin1String(set.output));
        item<QLineEdit>(page, OutputItem)->setModified(true);
        button(SetItem)->click();
        EXPECT_EQ(device->writtenTags(), set.written) << set.output;
        EXPECT_EQ(retransmit->OutputFixed(), set.fixed) << set.output;
        EXPECT_EQ(dialogs.messageTexts(), set.messages) << set.output;
    }
    auto* output = dynamic_cast<controls::CDtmTextControl*>(page->Control(15));
    for (int round = 0; round < 2; ++round) {  // the second time with nothing fixed
        device->calls.clear();
        button(FinishedItem)->click();
        EXPECT_EQ(device->writtenTags(), (QStringList{QStringLiteral("10002"), QStringLiteral("18")})) << round;
        EXPECT_EQ(written("10002"), QStringList{QStringLiteral("0")}) << round;
        EXPECT_EQ(item<QLineEdit>(page, OutputItem)->text(), QStringLiteral("0"));
        EXPECT_FALSE(output->IsModifiedFlag()) << round << ": nothing is pending in the entry";
        EXPECT_EQ(output->ShownIcon(), 34u) << round;
        EXPECT_FALSE(retransmit->OutputFixed());
        EXPECT_FALSE(button(FinishedItem)->isEnabled());
        button(FinishedItem)->setEnabled(true);  // as if Set had been pressed
    }
}

// Leaving the page, losing the device or closing with the output fixed asks to set it back
// (with message boxes) or leaves a standing warning until Finished.
TEST_F(CommissionPages, AFixedOutputIsNeverForgotten)
{
    const struct {
        const char* name;
        bool messageBoxes;
        ui::DialogAnswer answer;
        bool released;
    } cases[] = {
        {"asked, yes", true, ui::DialogAnswer::Yes, true},
        {"asked, no", true, ui::DialogAnswer::No, false},
        {"no message boxes", false, ui::DialogAnswer::Yes, false},
    };
    const QString question = QStringLiteral("The analog output is still fixed. Set it back to normal now?");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        privateDialogs(true);
        ASSERT_NE(show(17), nullptr);
        item<QLineEdit>(page, OutputItem)->setText(QStringLiteral("12"));
        button(SetItem)->click();
        privateDialogs(c.messageBoxes);
        device->calls.clear();
        dialogs.messages.clear();
        dialogs.messageAnswers = {c.answer};
        show(14);
        EXPECT_EQ(dialogs.messageTexts(), c.messageBoxes ? QStringList{question} : QStringList{});
        const QStringList release{QStringLiteral("10002"), QStringLiteral("18")};
        EXPECT_EQ(device->writtenTags(), c.released ? release : QStringList{});
        EXPECT_EQ(status.warning.isEmpty(), c.released) << status.warning.toStdString();
        dialogs.messageAnswers.clear();
        show(17);
        button(FinishedItem)->click();
        EXPECT_TRUE(status.warning.isEmpty()) << "Finished takes the warning away";
    }

    // The device gone: nothing can be sent, the warning says what is left to do.
    item<QLineEdit>(page, OutputItem)->setText(QStringLiteral("12"));
    button(SetItem)->click();
    device->calls.clear();
    dialogs.messages.clear();
    page->GateForOnline(false);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(device->writtenTags().isEmpty());
    EXPECT_TRUE(status.warning.contains(QLatin1String("12 mA")));
    EXPECT_FALSE(item<QLineEdit>(page, OutputItem)->isEnabled());
    page->GateForOnline(true);
    EXPECT_TRUE(item<QLineEdit>(page, OutputItem)->isEnabled());

    // Closing asks once, before the link goes.
    privateDialogs(true);
    dialogs.messageAnswers = {ui::DialogAnswer::Yes};
    controller.PrepareToClose();
    controller.DestroyViews();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{question});
    EXPECT_EQ(device->writtenTags(), (QStringList{QStringLiteral("10002"), QStringLiteral("18")}));
}

}  // namespace
