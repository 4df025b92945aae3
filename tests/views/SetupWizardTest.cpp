#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "platform/ui/Clock.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace orvx;

namespace {

// The operation buttons by their items, in the order of their bits: Apply Mode, Start,
// Continue, Skip, Cancel.
constexpr int kButtonItems[] = {202, 214, 215, 216, 217};
constexpr std::uint8_t kIdle = 0b00011;     // Apply Mode, Start
constexpr std::uint8_t kStarted = 0b11101;  // Apply Mode, Continue, Skip, Cancel
constexpr std::uint8_t kCancelOnly = 0b10000;
constexpr int kStart = 214, kContinue = 215, kSkip = 216, kCancel = 217;

struct ManualClock : ui::ISteadyClock {
    std::int64_t now = 100000;
    std::int64_t milliseconds() const override { return now; }
};

// The Setup Wizard (view 3) shown over a fake device in Setup mode; notifications travel
// through the hub as the device sends them.
class SetupWizard : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice(
            {{"1000", "0"}, {"1009", "0"}, {"3000", "1"}, {"1006", "FV-101"}, {"1007", "FEED"}, {"3001", "NEW"}});
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        previous = ui::setSteadyClock(&clock);
        controller.SetStatusArea(&status, nullptr);
        controller.ActivateView(3);
        page = dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(3));
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { ui::setSteadyClock(previous); }

    void click(int number) const
    {
        auto* button = item<QPushButton>(page, number);
        ASSERT_TRUE(button->isEnabled()) << "button " << number << " is disabled";
        button->click();
    }
    // The enabled operation buttons as the page's bit set.
    std::uint8_t buttons() const
    {
        std::uint8_t mask = 0;
        for (int bit = 0; bit < int(std::size(kButtonItems)); ++bit)
            if (item<QPushButton>(page, kButtonItems[bit])->isEnabled())
                mask |= std::uint8_t(1u << bit);
        return mask;
    }
    QString line() const { return item<QLabel>(page, 247)->text(); }
    void notify(std::int32_t code, const char* value = "") { controller.OnDtmUpdate(code, QString::fromLatin1(value)); }
    QString lastWrite() const { return device->writtenTags().value(device->writtenTags().size() - 1); }

    ManualClock clock;
    ui::ISteadyClock* previous = nullptr;
    framework::CApplicationViewBase* page = nullptr;
};

// The whole run: each step's command, what runs, what its result says and what comes back.
TEST_F(SetupWizard, RunsTheFourStepsInOrderWithTheirTexts)
{
    struct Row {
        const char* method;
        std::int32_t result;
        const char* progress;
        const char* step;
        std::uint8_t whileRunning;
        const char* completed;
        std::uint8_t after;
    };
    const Row rows[] = {
        {"5", 505, "Writing parameters...\n", "Step 1 of 4, write parameters: ", 0,
         "Write Parameters completed.\nPress Continue to run FindStops.", kStarted},
        {"8", 508, "FindStops is running...\n", "Step 2 of 4, find stops: ", kCancelOnly,
         "FindStops completed.\nPress Continue to run Autotune.", kStarted},
        {"12", 512, "Autotune is running...\n", "Step 3 of 4, autotune: ", kCancelOnly,
         "Autotune completed.\nPress Continue to run Reset.", kStarted},
        {"6", 506, "Resetting...\n", "Step 4 of 4, reset: ", 0, "Reset completed.", kIdle},
    };
    EXPECT_EQ(buttons(), kIdle);
    click(kStart);
    EXPECT_EQ(line(), QLatin1String("Press Continue to write Air Action, Tag, Descriptor, Message to device,\n"
                                    "else press Skip."));
    EXPECT_EQ(buttons(), kStarted);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.method);
        click(kContinue);
        EXPECT_EQ(lastWrite(), QLatin1String(row.method));
        EXPECT_EQ(controller.GetOperationOwner(), 3);
        EXPECT_EQ(controller.GetOperationCode(), row.result);
        const QString running = QLatin1String(row.progress) + QLatin1String(row.step);
        EXPECT_EQ(line(), running + QLatin1String("0 s"));
        EXPECT_EQ(buttons(), row.whileRunning);

        // The device works and reports new values; the time shown moves on with them.
        clock.now += 12400;
        notify(524);
        EXPECT_EQ(line(), running + QLatin1String("12 s"));
        // The status changed: the progress text goes as on the other pages, the step stays.
        clock.now += 63000;
        notify(526);
        EXPECT_EQ(line(), QLatin1String(row.step) + QLatin1String("1 min 15 s"));
        EXPECT_EQ(buttons(), row.whileRunning) << "a notification on the way gives nothing back";

        device->parameters["1006"] = device::textVariant(QLatin1String("PV-") + QLatin1String(row.method));
        notify(row.result);
        EXPECT_FALSE(controller.IsOperationRunning());
        if (row.result == 505) {
            EXPECT_EQ(item<QLineEdit>(page, 208)->text(), QLatin1String("PV-5")) << "what was written is read back";
        }
        EXPECT_EQ(line(), QLatin1String(row.completed));
        EXPECT_EQ(buttons(), row.after);
    }
    EXPECT_EQ(device->writtenTags(), (QStringList{"5", "8", "12", "6"}));

    // The stack was filled again: the next run starts over.
    click(kStart);
    click(kContinue);
    EXPECT_EQ(lastWrite(), QLatin1String("5"));
}

TEST_F(SetupWizard, SkippingEveryStepPromptsForEachAndReturnsToIdle)
{
    click(kStart);
    const struct {
        const char* prompt;
        std::uint8_t after;
    } skips[] = {{"Press Continue to run FindStops.", kStarted},
                 {"Press Continue to run Autotune.", kStarted},
                 {"Press Continue to Reset.", kStarted},
                 {"", kIdle}};
    for (const auto& skip : skips) {
        click(kSkip);
        EXPECT_EQ(line(), QLatin1String(skip.prompt));
        EXPECT_EQ(buttons(), skip.after) << skip.prompt;
    }
    EXPECT_EQ(device->writtenTags(), QStringList());
    click(kStart);
    click(kContinue);
    EXPECT_EQ(lastWrite(), QLatin1String("5")) << "the steps are there again, from the first";
}

// How the device ends a step other than with its result, during find stops and autotune: the
// text shown, the buttons of the step done, and the step the next Continue runs.
TEST_F(SetupWizard, AStepTheDeviceEndsLeavesTheWizardReadyForTheNext)
{
    struct Row {
        int skips;  // to reach the step
        std::int32_t code;
        const char* value;
        const char* text;
        const char* next;
    };
    const Row rows[] = {
        {1, -6, "8", "FindStops canceled by device!\nPress Continue to run Autotune.", "12"},
        {2, -6, "12", "Autotune canceled by device!\nPress Continue to Reset.", "6"},
        {1, -3, "8", "", "12"},
        {2, -1, "12", "", "6"},
        // A busy device never took the step: it is offered again.
        {1, -2, "8", "Device is busy, please wait a moment!", "8"},
        {0, -2, "5", "Device is busy, please wait a moment!", "5"},
        // A step that cannot be cancelled failing in the device leaves no progress behind.
        {0, -6, "5", "", "8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.code << " '" << row.value << "'");
        click(kStart);
        for (int i = 0; i < row.skips; ++i)
            click(kSkip);
        click(kContinue);
        notify(row.code, row.value);
        EXPECT_FALSE(controller.IsOperationRunning());
        EXPECT_EQ(line(), QLatin1String(row.text));
        EXPECT_EQ(buttons(), kStarted);
        click(kContinue);
        EXPECT_EQ(lastWrite(), QLatin1String(row.next));
        // Back to idle with a full stack for the next row.
        notify(523);
        EXPECT_EQ(buttons(), kIdle);
    }
}

// Cancel before a step runs sends nothing; during one it asks the device and waits for the
// answer. Either way the wizard starts over.
TEST_F(SetupWizard, CancelStartsOver)
{
    click(kStart);
    click(kSkip);
    click(kCancel);
    EXPECT_EQ(device->writtenTags(), QStringList());
    EXPECT_EQ(line(), QString());
    EXPECT_EQ(buttons(), kIdle);

    click(kStart);
    click(kContinue);
    notify(505);
    click(kSkip);
    click(kContinue);
    clock.now += 3000;
    click(kCancel);
    EXPECT_EQ(device->writtenTags(), (QStringList{"5", "12", "23"}));
    EXPECT_EQ(line(), QLatin1String("Operation Canceling...\nStep 3 of 4, autotune: 3 s"));
    EXPECT_TRUE(controller.IsOperationRunning()) << "until the device answers";
    notify(523);
    EXPECT_EQ(line(), QString());
    EXPECT_EQ(buttons(), kIdle);

    click(kStart);
    click(kContinue);
    EXPECT_EQ(lastWrite(), QLatin1String("5"));
}

TEST_F(SetupWizard, OtherNotificationsWhileIdle)
{
    click(kStart);
    click(kSkip);
    click(kContinue);
    notify(508);
    const QString done = line();
    // Another operation's cancel by the device is not the wizard's.
    notify(-6, "4");
    EXPECT_EQ(line(), done);
    notify(526);
    EXPECT_EQ(line(), QString());
    notify(-2, "0");
    EXPECT_EQ(line(), QLatin1String("Device is busy, please wait a moment!"));
}

TEST_F(SetupWizard, AStepTheDeviceRefusesToTakeLocksNothing)
{
    device->failingTags["5"] = com::Status::Failure;
    click(kStart);
    click(kContinue);
    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_EQ(buttons(), kStarted);
    device->failingTags.clear();
    click(kContinue);
    EXPECT_EQ(lastWrite(), QLatin1String("5")) << "the step refused is still the next one";
}

TEST_F(SetupWizard, OutsideSetupModeOnlyApplyModeIsOffered)
{
    device->parameters["1000"] = device::textVariant("1");
    notify(526);
    EXPECT_EQ(buttons(), 0b00001);
    EXPECT_EQ(item<QLabel>(page, 313)->text(),
              QLatin1String("Please change to Setup mode to activate the method and parameters."));
    EXPECT_FALSE(item<QLineEdit>(page, 208)->isEnabled());
    device->parameters["1000"] = device::textVariant("0");
    notify(526);
    EXPECT_EQ(buttons(), kIdle);
}

}  // namespace
