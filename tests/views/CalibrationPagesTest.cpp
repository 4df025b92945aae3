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

using namespace orvx;

namespace {

// A steady clock the tests move by hand.
struct HandClock : ui::ISteadyClock {
    std::int64_t now = 1'000'000;
    std::int64_t milliseconds() const override { return now; }
};

// Each page's numbers: its status line and the operation buttons' bits.
struct PageNumbers {
    std::int32_t view;
    int statusItem;
    const char* method;
    const char* name;  // in the elapsed line
    std::uint8_t idle, armed;
};
constexpr std::uint8_t kCancelOnly = 8;
const PageNumbers kFindStops{11, 275, "8", "Find stops", 0b10011, 0b11101};
const PageNumbers kAutotune{12, 276, "12", "Autotune", 0b0011, 0b1101};
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

    framework::CApplicationViewBase* show(std::int32_t view)
    {
        controller.ActivateView(view);
        page = dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(view));
        return page;
    }
    QPushButton* button(int number) const { return item<QPushButton>(page, number); }
    QString statusLine(const PageNumbers& numbers) const { return item<QLabel>(page, numbers.statusItem)->text(); }
    // Bit i: operation button i is enabled.
    std::uint8_t enabled() const
    {
        std::uint8_t mask = 0;
        for (int i = 0; i < page->MethodWindows().size(); ++i)
            if (page->MethodWindows()[i]->isEnabled())
                mask |= std::uint8_t(1u << i);
        return mask;
    }
    // The device answers as it would: through the hub, which clears the running operation.
    void deliver(std::int32_t code, const char* value = "")
    {
        controller.OnDtmUpdate(code, QString::fromLatin1(value));
        QCoreApplication::processEvents();  // the page posts the manual results
    }
    void run(const PageNumbers& numbers)
    {
        device->calls.clear();
        show(numbers.view);
        button(StartItem)->click();
        button(ContinueItem)->click();
        ASSERT_EQ(device->writtenTags(), QStringList{QString::fromLatin1(numbers.method)});
    }

    // What the device sends back during a run, 12 s after Continue: the status line and the
    // buttons it leaves.
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

TEST_F(CalibrationPages, StartArmsContinueRunsWithCancelAloneAndTheDeviceIsTold)
{
    const struct {
        PageNumbers numbers;
        const char* armedText;
        const char* runningText;
    } rows[] = {
        {kFindStops, "Press Continue to run Find Stops operation,\nelse press Cancel.",
         "Perform FindStops, please wait..."},
        {kAutotune, "Press Continue to run Autotune operation,\nelse press Cancel.",
         "Perform Autotune, please wait..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.numbers.view);
        device->calls.clear();
        show(row.numbers.view);
        EXPECT_EQ(enabled(), row.numbers.idle);
        button(StartItem)->click();
        EXPECT_EQ(enabled(), row.numbers.armed);
        EXPECT_EQ(statusLine(row.numbers), QLatin1String(row.armedText));
        EXPECT_EQ(device->writtenTags(), QStringList()) << "arming sends nothing";

        button(ContinueItem)->click();
        EXPECT_EQ(device->writtenTags(), QStringList{QString::fromLatin1(row.numbers.method)});
        EXPECT_EQ(controller.GetOperationOwner(), row.numbers.view);
        EXPECT_EQ(controller.GetOperationCode(), 500 + QByteArray(row.numbers.method).toInt());
        EXPECT_EQ(enabled(), kCancelOnly);
        EXPECT_EQ(statusLine(row.numbers), QLatin1String(row.runningText));
        deliver(523);
    }
}

TEST_F(CalibrationPages, FindStopsReactsToWhatTheDeviceSends)
{
    const std::uint8_t idle = kFindStops.idle, armed = kFindStops.armed;
    checkResults(kFindStops, {
                                 {508, "", "FindStops completed.", idle},
                                 {523, "", "", idle},
                                 {-6, "8", "FindStops canceled by device!", armed},
                                 {-2, "8", "Device is busy, please wait a moment!", armed},
                                 {-3, "8", "", armed},
                                 // Still running: the time it has taken shows under the text.
                                 {524, "", "Perform FindStops, please wait...\nFind stops running: 12 s", kCancelOnly},
                                 {501, "", "Perform FindStops, please wait...\nFind stops running: 12 s", kCancelOnly},
                                 {526, "", "Find stops running: 12 s", kCancelOnly},
                             });
}

TEST_F(CalibrationPages, AutotuneReactsToWhatTheDeviceSends)
{
    const std::uint8_t idle = kAutotune.idle, armed = kAutotune.armed;
    checkResults(kAutotune, {
                                {512, "", "Autotune completed.", idle},
                                {523, "", "", idle},
                                {-6, "12", "Autotune canceled by device!", armed},
                                {-2, "12", "Device is busy, please wait a moment!", armed},
                                {-3, "12", "", armed},
                                // Another method's failure in the device is not the autotune's: the text stays.
                                {-6, "13", "Perform Autotune, please wait...\nAutotune running: 12 s", armed},
                                {524, "", "Perform Autotune, please wait...\nAutotune running: 12 s", kCancelOnly},
                                {526, "", "Autotune running: 12 s", kCancelOnly},
                            });
}

TEST_F(CalibrationPages, TheElapsedTimeMovesOnWithEachNotificationAndGoesWithTheRun)
{
    for (const PageNumbers& numbers : kPages) {
        SCOPED_TRACE(numbers.view);
        show(numbers.view);
        button(StartItem)->click();
        clock.now += 30'000;  // armed for a while: the run starts with Continue
        button(ContinueItem)->click();
        const QString running = statusLine(numbers);
        clock.now += 5'400;
        deliver(524);
        EXPECT_EQ(statusLine(numbers), running + QStringLiteral("\n%1 running: 5 s").arg(numbers.name));
        clock.now += 7'000;
        EXPECT_TRUE(statusLine(numbers).endsWith(QLatin1String(": 5 s"))) << "no timer moves it";
        deliver(524);
        EXPECT_EQ(statusLine(numbers), running + QStringLiteral("\n%1 running: 12 s").arg(numbers.name));
        button(CancelItem)->click();
        EXPECT_TRUE(statusLine(numbers).endsWith(QLatin1String("Canceling...\n") + numbers.name +
                                                 QLatin1String(" running: 12 s")))
            << statusLine(numbers).toStdString();
        deliver(523);
        EXPECT_EQ(statusLine(numbers), QString());
        clock.now += 3'000;
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
    device->parameters["1000"] = host::textVariant(QStringLiteral("1"));
    for (const PageNumbers& numbers : kPages) {
        SCOPED_TRACE(numbers.view);
        show(numbers.view);
        auto* information = item<QLabel>(page, 313);
        EXPECT_TRUE(information->isVisible());
        EXPECT_EQ(information->text(),
                  QLatin1String("Please change to Setup mode to activate the method and parameters."));
        EXPECT_EQ(enabled(), 1) << "Apply Mode alone";
        EXPECT_TRUE(item<QWidget>(page, 201)->isEnabled()) << "the mode to set";
    }
    EXPECT_FALSE(item<QLineEdit>(page, AggressivenessItem)->isEnabled());
    // Back in Setup the page's own buttons return.
    device->parameters["1000"] = host::textVariant(QStringLiteral("0"));
    deliver(500);
    EXPECT_EQ(enabled(), kAutotune.idle);
    EXPECT_FALSE(item<QLabel>(page, 313)->isVisible());
}

TEST_F(CalibrationPages, AnAggressivenessOutOfRangeIsRefusedAndNothingIsSent)
{
    const struct {
        const char* entry;
        bool accepted;
    } rows[] = {{"10", false}, {"-10", false}, {"9", true}, {"-9", true}, {"0", true}, {"x", false}};
    for (const bool messageBoxes : {true, false}) {
        device->parameters["20000"] = com::Variant::boolean(messageBoxes);
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << row.entry << (messageBoxes ? " with boxes" : " without"));
            device->calls.clear();
            dialogs.messages.clear();
            show(kAutotune.view);
            button(StartItem)->click();
            item<QLineEdit>(page, AggressivenessItem)->setText(QString::fromLatin1(row.entry));
            button(ContinueItem)->click();
            if (row.accepted) {
                EXPECT_EQ(device->writtenTags(), QStringList{"12"});
                EXPECT_TRUE(dialogs.messages.isEmpty());
                deliver(523);
                continue;
            }
            EXPECT_EQ(device->writtenTags(), QStringList());
            EXPECT_EQ(enabled(), kAutotune.armed) << "still armed";
            const QString refusal = QStringLiteral("Aggressiveness value must be within -9 and 9.");
            if (messageBoxes) {
                ASSERT_EQ(dialogs.messages.size(), 1);
                EXPECT_EQ(dialogs.messages[0].text, refusal);
                EXPECT_EQ(dialogs.messages[0].caption, QLatin1String("Orvx ESD HART"));
                EXPECT_EQ(dialogs.messages[0].icon, ui::MessageIcon::Error);
            } else {
                EXPECT_TRUE(dialogs.messages.isEmpty());
                EXPECT_EQ(statusLine(kAutotune), refusal);
            }
            button(CancelItem)->click();
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
            dialog = nullptr;
            return int(QDialog::Rejected);
        };
        button(ManualItem)->click();
    }

public:
    // The table of steps below works the dialog through these.
    QString text() const { return item<QLabel>(dialog, 353)->text(); }
    QPushButton* dialogButton(int number) const { return item<QPushButton>(dialog, number); }
    // Low, High and Ok enabled, as three bits.
    int buttons() const
    {
        return int(dialogButton(213)->isEnabled()) | int(dialogButton(214)->isEnabled()) << 1 |
               int(dialogButton(215)->isEnabled()) << 2;
    }
    // Presses the button, then the device answers.
    void step(int number, std::int32_t code, const char* value = "")
    {
        dialogButton(number)->click();
        deliver(code, value);
    }

    QDialog* dialog = nullptr;
};

constexpr int kLow = 1, kHigh = 2, kOk = 4;

TEST_F(ManualFindStops, TheWholeProcedureLowThenHigh)
{
    const QString waitStable = QStringLiteral("Wait until the valve is stable, then press Ok.");
    open([&] {
        EXPECT_EQ(dialog->windowTitle(), QLatin1String("Manual Find Stops"));
        EXPECT_TRUE(text().startsWith(QLatin1String("Please press Low button to start Manual Find Stops.")));
        EXPECT_EQ(buttons(), kLow);

        dialogButton(213)->click();
        EXPECT_EQ(text(), QLatin1String("Executing Low Manual Stops..."));
        EXPECT_EQ(buttons(), 0);
        deliver(509);
        EXPECT_EQ(text(), waitStable);
        EXPECT_EQ(buttons(), kOk);

        step(215, 511);
        EXPECT_EQ(text(), QLatin1String("Low Stop position recorded.\nPlease press High button to continue Manual Find "
                                        "Stops."));
        EXPECT_EQ(buttons(), kHigh);

        dialogButton(214)->click();
        EXPECT_EQ(text(), QLatin1String("Executing High Manual Stops..."));
        EXPECT_EQ(buttons(), 0);
        deliver(510);
        EXPECT_EQ(text(), waitStable);
        EXPECT_EQ(buttons(), kOk);

        step(215, 531);
        EXPECT_EQ(text(), QLatin1String("Manual find stops completed."));
        EXPECT_EQ(buttons(), kLow);
    });
    EXPECT_EQ(device->writtenTags(), (QStringList{"9", "11", "10", "31"}));
    EXPECT_FALSE(controller.IsOperationRunning()) << "the manual procedure records no operation";
    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{QStringLiteral("Manual Find Stops")});
}

TEST_F(ManualFindStops, AFailureOffersLowAgainWithTheMatchingText)
{
    const struct {
        std::int32_t code;
        const char* text;
    } failures[] = {
        {-6, "Manual Find Stops Failed!"},
        {-2, "Device is busy, please wait a moment!"},
        {-3, "FindStops canceled by device!"},
    };
    // After each method, before its result.
    const struct {
        const char* method;
        std::function<void(ManualFindStops&)> reach;
    } steps[] = {
        {"9", [](ManualFindStops& f) { f.dialogButton(213)->click(); }},
        {"11",
         [](ManualFindStops& f) {
             f.step(213, 509);
             f.dialogButton(215)->click();
         }},
        {"10",
         [](ManualFindStops& f) {
             f.step(213, 509);
             f.step(215, 511);
             f.dialogButton(214)->click();
         }},
    };
    for (const auto& failure : failures) {
        for (const auto& reached : steps) {
            SCOPED_TRACE(testing::Message() << failure.code << " for " << reached.method);
            open([&] {
                reached.reach(*this);
                ASSERT_EQ(device->writtenTags().last(), QLatin1String(reached.method));
                deliver(failure.code, reached.method);
                EXPECT_EQ(text(), QLatin1String(failure.text));
                EXPECT_EQ(buttons(), kLow);
            });
        }
    }
}

TEST_F(ManualFindStops, OkAcceptsTheLowStopUnlessBothWereReachedAndAFailedFinishStartsOver)
{
    open([&] {
        step(213, 509);
        step(215, 511);
        step(214, 510);
        dialogButton(215)->click();
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("31"));
        deliver(-6, "31");
        EXPECT_EQ(buttons(), kLow);
        // The progress was cleared before "31" went out: the low stop is accepted first again.
        step(213, 509);
        dialogButton(215)->click();
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("11"));
    });
}

TEST_F(ManualFindStops, ResultsWithTheDialogClosedAreDropped)
{
    open([] {});
    deliver(509);
    deliver(-6, "9");
    open([&] {
        QCoreApplication::processEvents();
        EXPECT_TRUE(text().startsWith(QLatin1String("Please press Low button")));
        EXPECT_EQ(buttons(), kLow);
    });
    EXPECT_EQ(device->writtenTags(), QStringList());
    EXPECT_EQ(statusLine(kFindStops), QString());
}

TEST_F(ManualFindStops, WithoutPrivateDialogsNoDialogOpens)
{
    device->parameters["20000"] = com::Variant::boolean(false);
    open([] { ADD_FAILURE() << "no dialog without private dialogs"; });
    EXPECT_TRUE(dialogs.modalDialogs.isEmpty());
    EXPECT_EQ(statusLine(kFindStops), QLatin1String("Private dialog is disabled."));
}

TEST_F(ManualFindStops, AStepThatCannotBeSentLeavesTheDialogAsItWas)
{
    open([&] {
        step(213, 509);
        // The user lost the right to write while the dialog was open.
        controller.SetUserLevel(QStringLiteral("observer"));
        dialogButton(215)->click();
        EXPECT_EQ(text(), QLatin1String("Wait until the valve is stable, then press Ok."));
        EXPECT_EQ(buttons(), kOk);
        controller.SetUserLevel(QStringLiteral("maintenance"));
        // The device refuses: still the same.
        device->failingTags["11"] = com::Status::Failure;
        dialogButton(215)->click();
        EXPECT_EQ(buttons(), kOk);
    });
    EXPECT_EQ(device->writtenTags(), (QStringList{"9", "11"})) << "the observer's Ok never reached the device";
}

}  // namespace
