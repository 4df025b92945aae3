// Find stops (view 11) with its manual dialog, and autotune (view 12), over a fake device in
// Setup mode: the Start / Continue / Cancel run, the results the device sends back, the manual
// procedure's steps, and the elapsed time on the status line.

#include "framework/ApplicationViewBase.h"
#include "platform/ui/Clock.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <utility>
#include <vector>

using namespace orvx;

namespace {

// A steady clock the tests move by hand.
struct HandClock : ui::ISteadyClock {
    std::int64_t now = 1'000'000;
    std::int64_t milliseconds() const override { return now; }
};

// Each page's status line, method, name in the elapsed line, operation buttons' bits and prompts.
struct PageNumbers {
    std::int32_t view;
    int statusItem;
    const char* method;
    const char* name;
    std::uint8_t idle, armed;
    const char *armedText, *runningText;
};
constexpr std::uint8_t kCancelOnly = 8;
// clang-format off
const PageNumbers kFindStops{11, 275, "8", "Find stops", 0b10011, 0b11101,
    "Press Continue to run Find Stops operation,\nelse press Cancel.", "Perform FindStops, please wait..."};
const PageNumbers kAutotune{12, 276, "12", "Autotune", 0b0011, 0b1101,
    "Press Continue to run Autotune operation,\nelse press Cancel.", "Perform Autotune, please wait..."};
// clang-format on
const PageNumbers kPages[] = {kFindStops, kAutotune};

enum Item { StartItem = 213, ContinueItem = 214, CancelItem = 215, ManualItem = 310, AggressivenessItem = 287 };

class CalibrationPages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1000", "0"}, {"1009", "0"}, {"1005", "0"}, {"8008", "0"}});
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        previousClock = ui::setSteadyClock(&clock);
        controller.SetStatusArea(&status, nullptr);
        splitter.parent.show();
    }
    void TearDown() override { ui::setSteadyClock(previousClock); }

    void show(std::int32_t view) { page = showPage(view); }
    QPushButton* button(int number) const { return item<QPushButton>(page, number); }
    QString statusLine(const PageNumbers& numbers) const { return item<QLabel>(page, numbers.statusItem)->text(); }
    std::uint8_t enabled() const { return enabledButtons(*page); }
    // Start arms the run without telling the device; Continue sends the method and leaves Cancel.
    void run(const PageNumbers& numbers)
    {
        device->calls.clear();
        show(numbers.view);
        EXPECT_EQ(enabled(), numbers.idle);
        button(StartItem)->click();
        EXPECT_EQ(enabled(), numbers.armed);
        EXPECT_EQ(statusLine(numbers), QLatin1String(numbers.armedText));
        button(ContinueItem)->click();
        ASSERT_EQ(device->writtenTags(), QStringList{QString::fromLatin1(numbers.method)});
        EXPECT_EQ(controller.GetOperationOwner(), numbers.view);
        EXPECT_EQ(enabled(), kCancelOnly);
        EXPECT_EQ(statusLine(numbers), QLatin1String(numbers.runningText));
    }

    // What the device sends 12 s into a run: the status line and the buttons it leaves.
    struct ResultRow {
        std::int32_t code;
        const char* value;
        const char* statusLine;
        std::uint8_t buttons;
    };
    void checkResults(const PageNumbers& numbers, std::initializer_list<ResultRow> rows)
    {
        for (const ResultRow& row : rows) {
            SCOPED_TRACE(testing::Message() << "view " << numbers.view << ", " << row.code << " '" << row.value << "'");
            run(numbers);
            clock.now += 12'000;
            deliver(row.code, row.value);
            EXPECT_EQ(statusLine(numbers), QString::fromUtf8(row.statusLine));
            EXPECT_EQ(enabled(), row.buttons);
            deliver(523);  // back to idle for the next row
        }
    }

    HandClock clock;
    ui::ISteadyClock* previousClock = nullptr;
    framework::CApplicationViewBase* page = nullptr;
};

TEST_F(CalibrationPages, FindStopsReactsToWhatTheDeviceSends)
{
    const std::uint8_t idle = kFindStops.idle, armed = kFindStops.armed;
    const char* const stillRunning = "Perform FindStops, please wait...\nFind stops running: 12 s";
    checkResults(kFindStops, {
                                 {508, "", "FindStops completed.", idle},
                                 {523, "", "", idle},
                                 {-6, "8", "FindStops canceled by device!", armed},
                                 {-2, "8", "Device is busy, please wait a moment!", armed},
                                 {-3, "8", "", armed},
                                 {524, "", stillRunning, kCancelOnly},
                                 {501, "", stillRunning, kCancelOnly},
                                 {526, "", "Find stops running: 12 s", kCancelOnly},
                             });
}

TEST_F(CalibrationPages, AutotuneReactsToWhatTheDeviceSends)
{
    const std::uint8_t idle = kAutotune.idle, armed = kAutotune.armed;
    const char* const stillRunning = "Perform Autotune, please wait...\nAutotune running: 12 s";
    checkResults(kAutotune, {
                                {512, "", "Autotune completed.", idle},
                                {523, "", "", idle},
                                {-6, "12", "Autotune canceled by device!", armed},
                                {-2, "12", "Device is busy, please wait a moment!", armed},
                                {-3, "12", "", armed},
                                // Another method's failure in the device leaves the text.
                                {-6, "13", stillRunning, armed},
                                {524, "", stillRunning, kCancelOnly},
                                {526, "", "Autotune running: 12 s", kCancelOnly},
                            });
}

TEST_F(CalibrationPages, TheElapsedTimeCountsFromContinueAndMovesOnlyWithNotifications)
{
    for (const PageNumbers& numbers : kPages) {
        SCOPED_TRACE(numbers.view);
        show(numbers.view);
        button(StartItem)->click();
        clock.now += 30'000;  // armed for a while
        button(ContinueItem)->click();
        clock.now += 5'400;
        deliver(524);
        const QString fiveSeconds = QStringLiteral("\n%1 running: 5 s").arg(numbers.name);
        EXPECT_EQ(statusLine(numbers), numbers.runningText + fiveSeconds);
        clock.now += 7'000;
        EXPECT_EQ(statusLine(numbers), numbers.runningText + fiveSeconds) << "no timer moves it";
        button(CancelItem)->click();
        EXPECT_TRUE(statusLine(numbers).endsWith(QStringLiteral("Canceling...\n%1 running: 12 s").arg(numbers.name)))
            << statusLine(numbers).toStdString();
        deliver(523);
        deliver(524);
        EXPECT_EQ(statusLine(numbers), QString()) << "nothing runs";
    }
}

TEST_F(CalibrationPages, CancelWhenArmedSendsNothingAndWhenRunningWaitsForTheDevice)
{
    for (const PageNumbers& numbers : kPages) {
        SCOPED_TRACE(numbers.view);
        device->calls.clear();
        show(numbers.view);
        button(StartItem)->click();
        button(CancelItem)->click();
        EXPECT_EQ(device->writtenTags(), QStringList());
        EXPECT_EQ(enabled(), numbers.idle);
        EXPECT_EQ(statusLine(numbers), QString());

        run(numbers);
        button(CancelItem)->click();
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("23"));
        EXPECT_EQ(enabled(), kCancelOnly) << "idle only once the device says so";
        deliver(523);
        EXPECT_EQ(enabled(), numbers.idle);
    }
}

TEST_F(CalibrationPages, OutsideSetupModeOnlyTheModeCanBeChanged)
{
    device->parameters["1000"] = device::textVariant(QStringLiteral("1"));
    for (const PageNumbers& numbers : kPages) {
        SCOPED_TRACE(numbers.view);
        show(numbers.view);
        EXPECT_EQ(item<QLabel>(page, 313)->text(),
                  QLatin1String("Please change to Setup mode to activate the method and parameters."));
        EXPECT_EQ(enabled(), 1) << "Apply Mode alone";
        EXPECT_TRUE(item<QWidget>(page, 201)->isEnabled()) << "the mode to set";
    }
    EXPECT_FALSE(item<QLineEdit>(page, AggressivenessItem)->isEnabled());
    device->parameters["1000"] = device::textVariant(QStringLiteral("0"));
    deliver(500);
    EXPECT_EQ(enabled(), kAutotune.idle);
    EXPECT_FALSE(item<QLabel>(page, 313)->isVisible());
}

TEST_F(CalibrationPages, AnAggressivenessOutOfRangeIsRefusedAndNothingIsSent)
{
    const QString refusal = QStringLiteral("Aggressiveness value must be within -9 and 9.");
    const std::pair<const char*, bool> rows[] = {{"10", false}, {"-10", false}, {"9", true},
                                                 {"-9", true},  {"0", true},    {"x", false}};
    for (const bool messageBoxes : {true, false}) {
        device->parameters["20000"] = com::Variant::boolean(messageBoxes);
        for (const auto& [entry, accepted] : rows) {
            SCOPED_TRACE(testing::Message() << entry << (messageBoxes ? " with boxes" : " without"));
            device->calls.clear();
            dialogs.messages.clear();
            show(kAutotune.view);
            button(StartItem)->click();
            item<QLineEdit>(page, AggressivenessItem)->setText(QString::fromLatin1(entry));
            button(ContinueItem)->click();
            EXPECT_EQ(device->writtenTags(), accepted ? QStringList{"12"} : QStringList());
            EXPECT_EQ(enabled(), accepted ? kCancelOnly : kAutotune.armed);
            if (!accepted && messageBoxes) {
                ASSERT_EQ(dialogs.messages.size(), 1);
                EXPECT_EQ(dialogs.messages[0].text, refusal);
                EXPECT_EQ(dialogs.messages[0].caption, QLatin1String("Orvx ESD HART"));
                EXPECT_EQ(dialogs.messages[0].icon, ui::MessageIcon::Error);
            } else {
                EXPECT_TRUE(dialogs.messages.isEmpty());
                EXPECT_EQ(statusLine(kAutotune) == refusal, !accepted);
            }
            button(CancelItem)->click();
            deliver(523);
        }
    }
}

// The manual dialog, worked by the test as a user would while it is open.
class ManualFindStops : public CalibrationPages {
protected:
    test::DeviceParameters Parameters() const override
    {
        auto parameters = CalibrationPages::Parameters();
        parameters["20000"] = com::Variant::boolean(true);
        return parameters;
    }
    // Opens the dialog from the page and runs 'work' in it.
    void open(const std::function<void()>& work)
    {
        show(kFindStops.view);
        dialogs.onModal = [this, work](QDialog& opened) {
            dialog = &opened;
            work();
            return int(QDialog::Rejected);
        };
        button(ManualItem)->click();
    }
    QString text() const { return item<QLabel>(dialog, 353)->text(); }
    // Low, High and Ok enabled, as three bits.
    int buttons() const
    {
        int bits = 0;
        for (int i = 0; i < 3; ++i)
            bits |= int(item<QPushButton>(dialog, 213 + i)->isEnabled()) << i;
        return bits;
    }
    // Presses the button, then the device answers (none for 0).
    void step(int number, std::int32_t code, const char* value = "")
    {
        item<QPushButton>(dialog, number)->click();
        if (code != 0)
            deliver(code, value);
    }

    QDialog* dialog = nullptr;
};

constexpr int kLow = 213, kHigh = 214, kOk = 215;
constexpr int kLowBit = 1, kHighBit = 2, kOkBit = 4;

TEST_F(ManualFindStops, TheWholeProcedureLowThenHigh)
{
    const struct {
        int press;
        std::int32_t answer;  // 0: the device has not answered yet
        const char* text;
        int buttons;
    } steps[] = {
        {kLow, 0, "Executing Low Manual Stops...", 0},
        {0, 509, "Wait until the valve is stable, then press Ok.", kOkBit},
        {kOk, 511, "Low Stop position recorded.\nPlease press High button to continue Manual Find Stops.", kHighBit},
        {kHigh, 0, "Executing High Manual Stops...", 0},
        {0, 510, "Wait until the valve is stable, then press Ok.", kOkBit},
        {kOk, 0, "", 0},
        {0, 531, "Manual find stops completed.", kLowBit},
    };
    open([&] {
        EXPECT_EQ(dialog->windowTitle(), QLatin1String("Manual Find Stops"));
        EXPECT_TRUE(text().startsWith(QLatin1String("Please press Low button to start Manual Find Stops.")));
        EXPECT_EQ(buttons(), kLowBit);
        for (const auto& s : steps) {
            SCOPED_TRACE(testing::Message() << s.press << " " << s.answer);
            if (s.press)
                item<QPushButton>(dialog, s.press)->click();
            if (s.answer)
                deliver(s.answer);
            EXPECT_EQ(text(), QLatin1String(s.text));
            EXPECT_EQ(buttons(), s.buttons);
        }
    });
    EXPECT_EQ(device->writtenTags(), (QStringList{"9", "11", "10", "31"}));
    EXPECT_FALSE(controller.IsOperationRunning()) << "the manual procedure records no operation";
}

TEST_F(ManualFindStops, AFailureOffersLowAgainWithTheMatchingText)
{
    // The failure, its text, and the method that fails after the presses before it.
    const struct {
        std::int32_t code;
        const char* text;
        const char* method;
        std::vector<std::pair<int, std::int32_t>> presses;
    } rows[] = {
        {-6, "Manual Find Stops Failed!", "9", {{kLow, 0}}},
        {-2, "Device is busy, please wait a moment!", "11", {{kLow, 509}, {kOk, 0}}},
        {-3, "FindStops canceled by device!", "10", {{kLow, 509}, {kOk, 511}, {kHigh, 0}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.method);
        open([&] {
            for (const auto& [press, answer] : row.presses)
                step(press, answer);
            ASSERT_EQ(device->writtenTags().last(), QLatin1String(row.method));
            deliver(row.code, row.method);
            EXPECT_EQ(text(), QLatin1String(row.text));
            EXPECT_EQ(buttons(), kLowBit);
        });
    }
}

TEST_F(ManualFindStops, AFailedFinishStartsOverFromTheLowStop)
{
    open([&] {
        step(kLow, 509);
        step(kOk, 511);
        step(kHigh, 510);
        step(kOk, -6, "31");
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("31"));
        EXPECT_EQ(buttons(), kLowBit);
        step(kLow, 509);
        step(kOk, 0);
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("11")) << "both stops are reached again first";
    });
}

TEST_F(ManualFindStops, ResultsWithTheDialogClosedAreDropped)
{
    open([] {});
    deliver(509);
    open([&] { EXPECT_EQ(buttons(), kLowBit) << "the next dialog starts afresh"; });
    EXPECT_EQ(device->writtenTags(), QStringList());
}

TEST_F(ManualFindStops, WithoutPrivateDialogsNoDialogOpens)
{
    device->parameters["20000"] = com::Variant::boolean(false);
    open([] { ADD_FAILURE() << "no dialog without private dialogs"; });
    EXPECT_EQ(statusLine(kFindStops), QLatin1String("Private dialog is disabled."));
}

TEST_F(ManualFindStops, AStepThatCannotBeSentLeavesTheDialogAsItWas)
{
    open([&] {
        step(kLow, 509);
        // The user lost the right to write while the dialog was open.
        controller.SetUserLevel(QStringLiteral("observer"));
        step(kOk, 0);
        EXPECT_EQ(text(), QLatin1String("Wait until the valve is stable, then press Ok."));
        EXPECT_EQ(buttons(), kOkBit);
        controller.SetUserLevel(QStringLiteral("maintenance"));
        device->failingTags["11"] = com::Status::Failure;
        step(kOk, 0);
        EXPECT_EQ(buttons(), kOkBit);
    });
    EXPECT_EQ(device->writtenTags(), (QStringList{"9", "11"})) << "the observer's Ok never reached the device";
}

}  // namespace
