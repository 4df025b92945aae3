#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "platform/ui/Clock.h"
#include "support/FixedWallClock.h"
#include "support/LastPst.h"
#include "views/PstSchedule.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace orvx;

namespace {

// Anchor 1 January 2006 00:00; the interval, the time chosen and now; what the device is sent.
struct ScheduleRow {
    int interval;
    QDateTime chosen;
    QDateTime now;
    views::PstSchedule expected;
};

QDateTime at(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2006, month, day), QTime(hour, minute));
}

TEST(PstSchedule, CountsTheStartFromTheAnchorAndTheSpanLeft)
{
    const ScheduleRow rows[] = {
        // 9 days after the anchor, 08:30: day 9 mod 7; 2 days 8:30 ahead, less the 30 min lead.
        {7, at(1, 10, 8, 30), at(1, 10, 8, 0), {2, 510, 2, 480}},
        // The test is due at once.
        {1, at(1, 1, 0, 10), at(1, 1, 0, 0), {0, 10, 0, 0}},
        // A lead longer than the offset into the interval reaches into the next interval.
        {2, at(1, 3, 6, 0), at(1, 2, 0, 0), {0, 360, 1, 0}},
        // The last minute of the day, a year on: the whole day but the hour of lead is left.
        {365,
         QDateTime(QDate(2007, 1, 1), QTime(23, 59)),
         QDateTime(QDate(2007, 1, 1), QTime(23, 0)),
         {0, 1439, 0, 1380}},
    };
    for (const ScheduleRow& row : rows) {
        SCOPED_TRACE(row.chosen.toString(Qt::ISODate).toStdString());
        const views::PstSchedule got = views::computePstSchedule(row.chosen, row.now, row.interval);
        EXPECT_EQ(got.dayIndex, row.expected.dayIndex);
        EXPECT_EQ(got.minuteOfDay, row.expected.minuteOfDay);
        EXPECT_EQ(got.remainingDays, row.expected.remainingDays);
        EXPECT_EQ(got.remainingMinutes, row.expected.remainingMinutes);
    }
}

// The ESD and PST page (view 1) and the ESD Setup page (view 6) over a fake device.
class EsdPages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return test::lastPstDevice({{"1000", "0"},
                                    {"1009", "0"},
                                    {"16000", "10"},
                                    {"16001", "20"},
                                    {"16002", "60"},
                                    {"16003", "1"},
                                    {"16004", "5"},
                                    {"16006", "15"},
                                    {"16009", "0"},
                                    {"16010", "0"},
                                    {"16011", "0"},
                                    {"16012", "7"},
                                    {"16013", "1"},
                                    {"16014", "30"},
                                    {"16018", "1"},
                                    {"16020", "1"},
                                    {"16021", "1"}});
    }

    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetTextProvider(&texts);  // as the control does when it starts
        controller.SetStatusArea(&status, &status);
    }

    // A Wednesday in winter: no zone changes its clocks near it.
    test::FixedWallClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 15, 30))};

    framework::CApplicationViewBase* open(std::int32_t viewId)
    {
        auto* page = dynamic_cast<framework::CApplicationViewBase*>(framework::CreatePage(viewId, &controller, &texts));
        if (page) {
            page->Activate();
            page->RefreshControls(-1);
        }
        return page;
    }
    // The values the page wrote under a tag, in order.
    QList<com::Variant> sent(const char* tag) const
    {
        QList<com::Variant> values;
        for (const test::Call& call : device->callsOf(QStringLiteral("SetParameter")))
            if (call.argument == QLatin1String(tag))
                values.append(call.value);
        return values;
    }
    static void leave(QWidget* page, int number, const char* text)
    {
        auto* edit = item<QLineEdit>(page, number);
        edit->setText(QString::fromLatin1(text));
        edit->setModified(true);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    }
};

TEST_F(EsdPages, TheFrictionLimitsConflictOnceAndClearOnce)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    leave(page, 216, "5");
    leave(page, 217, "5");  // equal limits conflict
    leave(page, 217, "5");  // no change: nothing sent
    EXPECT_FALSE(controller.FrictionLimitsValid());
    leave(page, 217, "5.1");
    leave(page, 216, "5");
    EXPECT_EQ(sent("15001"), (QList<com::Variant>{com::Variant::integer(1), com::Variant::integer(-1)}));
    EXPECT_TRUE(controller.FrictionLimitsValid());
}

TEST_F(EsdPages, ApplySettingsIsRefusedWhileTheFrictionLimitsConflict)
{
    device->parameters["20000"] = com::Variant::boolean(true);
    for (std::int32_t view : {1, 6}) {
        SCOPED_TRACE(view);
        device->calls.clear();
        framework::CApplicationViewBase* page = open(view);
        ASSERT_NE(page, nullptr);
        const int apply = view == 1 ? 311 : 223;
        controller.SetFrictionLimitsValid(false);
        item<QPushButton>(page, apply)->click();
        EXPECT_FALSE(device->writtenTags().contains("30"));
        EXPECT_EQ(dialogs.messageTexts().last(),
                  QLatin1String("Friction Low Limit must be less than Friction High Limit."));

        controller.SetFrictionLimitsValid(true);
        item<QPushButton>(page, apply)->click();
        EXPECT_EQ(device->writtenTags().last(), QLatin1String("30"));
        EXPECT_EQ(controller.GetOperationCode(), 530);
        EXPECT_FALSE(item<QPushButton>(page, apply)->isEnabled());
        controller.SetOperation(false, -1, -1);
        page->OnUpdate(530, {});
        EXPECT_TRUE(item<QPushButton>(page, apply)->isEnabled());
    }
}

// The two ESD pages edit the same limits: a conflict left on one refuses Apply on the other,
// and is counted once for both.
TEST_F(EsdPages, AFrictionConflictOnOnePageHoldsOnTheOther)
{
    framework::CApplicationViewBase* esd = open(1);
    ASSERT_NE(esd, nullptr);
    leave(esd, 216, "8");
    leave(esd, 217, "4");
    framework::CApplicationViewBase* setup = open(6);
    ASSERT_NE(setup, nullptr);
    item<QPushButton>(setup, 223)->click();
    EXPECT_FALSE(device->writtenTags().contains("30"));
    leave(setup, 215, "9");
    EXPECT_EQ(sent("15001"), (QList<com::Variant>{com::Variant::integer(1), com::Variant::integer(-1)}));
    item<QPushButton>(esd, 311)->click();
    EXPECT_EQ(device->writtenTags().last(), QLatin1String("30"));
}

// Leaving the interval follows the interval just entered: the field has sent it before the
// picker's range is taken from the device.
TEST_F(EsdPages, LeavingTheIntervalFollowsTheIntervalJustEntered)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    auto* picker = item<QDateTimeEdit>(page, 255);
    leave(page, 210, "30");
    EXPECT_EQ(picker->maximumDateTime().date(), QDate(2027, 1, 8)) << "30 days on, not the 7 the device had";
}

TEST_F(EsdPages, ApplyScheduleSendsTheStartAndTheSpanAsIntegersThenTheCommand)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    auto* picker = item<QDateTimeEdit>(page, 255);
    // A time in the past, without message boxes: silently now + 1 s.
    picker->setMinimumDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    picker->setDateTime(ui::currentDateTime().addDays(-3));
    item<QPushButton>(page, 310)->click();
    EXPECT_EQ(picker->dateTime(), QDateTime(QDate(2026, 12, 9), QTime(10, 15, 31)));
    const QStringList written = device->writtenTags();
    const QStringList schedule{"16015", "16016", "16030", "16031", "19"};
    ASSERT_GE(written.size(), 5);
    EXPECT_EQ(written.mid(written.size() - 5), schedule);
    for (const char* tag : {"16015", "16016", "16030", "16031"})
        EXPECT_EQ(sent(tag).last().type(), com::VariantType::Int) << tag;
    // 2006-01-01 was a Sunday, so a Wednesday is day 3 of a weekly cycle; the test starts at
    // 10:15 of it. Due within the second, the span is where now stands in the cycle: 3 days
    // and 614 minutes (10:14:59).
    EXPECT_EQ(sent("16015").last(), com::Variant::integer(3));
    EXPECT_EQ(sent("16016").last(), com::Variant::integer(615));
    EXPECT_EQ(sent("16030").last(), com::Variant::integer(3));
    EXPECT_EQ(sent("16031").last(), com::Variant::integer(614));
    EXPECT_EQ(controller.GetOperationCode(), 519);

    controller.SetOperation(false, -1, -1);
    device->calls.clear();
    page->OnUpdate(519, {});
    EXPECT_EQ(sent("16036"), QList<com::Variant>{com::Variant::integer(1)});
    EXPECT_TRUE(item<QPushButton>(page, 310)->isEnabled());
}

// The device counts 1 day and 30 minutes to the next PST (16013, 16014) and the interval is 7 days;
// it is 10:15:30. The picker shows no seconds and holds none: it starts at 10:16.
TEST_F(EsdPages, TheNextPstAndThePickersWholeMinutesCountFromTheClock)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    const QString shown = item<QLineEdit>(page, 211)->text();
    EXPECT_TRUE(shown.startsWith(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QLatin1String("10:45"))) << shown.toStdString();
    const auto* picker = item<QDateTimeEdit>(page, 255);
    const QDate today(2026, 12, 9);
    EXPECT_EQ(picker->dateTime(), QDateTime(today, QTime(10, 16)));
    EXPECT_EQ(picker->minimumDateTime(), QDateTime(today, QTime(10, 16)));
    EXPECT_EQ(picker->maximumDateTime(), QDateTime(today.addDays(7), QTime(10, 15)));

    // The minute the picker shows is the minute sent: 10:16 of a Wednesday, day 3 of the week.
    item<QPushButton>(page, 310)->click();
    EXPECT_EQ(sent("16015").last(), com::Variant::integer(3));
    EXPECT_EQ(sent("16016").last(), com::Variant::integer(616));
}

TEST_F(EsdPages, APastTimeTheUserWillNotMoveSendsNothing)
{
    device->parameters["20000"] = com::Variant::boolean(true);
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    auto* picker = item<QDateTimeEdit>(page, 255);
    picker->setMinimumDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    const QDateTime past = ui::currentDateTime().addDays(-1);
    picker->setDateTime(past);
    dialogs.messageAnswers = {ui::DialogAnswer::No};
    item<QPushButton>(page, 310)->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_FALSE(device->writtenTags().contains("19"));
    EXPECT_EQ(picker->dateTime().date(), past.date());
    EXPECT_TRUE(item<QPushButton>(page, 310)->isEnabled());
}

// An entry still invalid holds back the settings and is named, whichever it is.
TEST_F(EsdPages, AnEntryStillInvalidHoldsBackThePstSettingsAndIsNamed)
{
    const struct {
        int item;
        const char* entry;
        const char* valid;
        std::int32_t control;
        const char* named;
    } rows[] = {
        {227, "31", "10", 10, "PST Travel"},  // 5 to 30
        {230, "11", "1", 13, "PST Speed"},    // 0.25 to 10
        {233, "31", "3", 18, "Droop Limit"},  // 0 to 30 psi
        {210, "0", "7", 22, "PST Interval"},  // 1 to 365
    };
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    for (const bool messageBoxes : {false, true}) {
        device->parameters["20000"] = com::Variant::boolean(messageBoxes);
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << row.named << (messageBoxes ? " with message boxes" : ""));
            status.message.clear();
            dialogs.messages.clear();
            leave(page, row.item, row.entry);
            ASSERT_TRUE(page->IsInvalid(row.control));
            item<QPushButton>(page, 311)->click();
            EXPECT_FALSE(device->writtenTags().contains("30"));
            EXPECT_FALSE(controller.IsOperationRunning());
            EXPECT_TRUE(status.message.contains(QLatin1String(row.named))) << status.message.toStdString();
            ASSERT_EQ(dialogs.messages.size(), messageBoxes ? 1 : 0);
            if (messageBoxes) {
                EXPECT_TRUE(dialogs.messages[0].text.contains(QLatin1String(row.named)));
            }
            leave(page, row.item, row.valid);
            ASSERT_FALSE(page->IsInvalid(row.control));
        }
    }
}

TEST_F(EsdPages, AnIntervalThatCannotDivideSendsNothing)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    for (const char* interval : {"0", "-3", "x"}) {
        SCOPED_TRACE(interval);
        device->parameters["16012"] = device::textVariant(QString::fromLatin1(interval));
        item<QDateTimeEdit>(page, 255)->setDateTime(ui::currentDateTime().addSecs(3600));
        item<QPushButton>(page, 310)->click();
        EXPECT_FALSE(device->writtenTags().contains("19"));
        EXPECT_FALSE(device->writtenTags().contains("16015"));
        EXPECT_FALSE(controller.IsOperationRunning());
        EXPECT_TRUE(item<QPushButton>(page, 310)->isEnabled());
    }
    EXPECT_TRUE(status.message.startsWith(QLatin1String("The PST interval must be a whole number of days")));
}

// A schedule or settings the device refuses leaves the page as it was and says so.
TEST_F(EsdPages, ScheduleAndSettingsTheDeviceRefusesAreNamedOnTheStatusLine)
{
    for (const std::int32_t view : {1, 6}) {
        framework::CApplicationViewBase* page = open(view);
        ASSERT_NE(page, nullptr);
        const struct {
            int apply;
            const char* method;
            const char* text;
        } rows[] = {
            {view == 1 ? 310 : 213, "19", "The device did not take the new PST schedule."},
            {view == 1 ? 311 : 223, "30", "The device did not take the PST settings."},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "view " << view << ", method " << row.method);
            item<QDateTimeEdit>(page, view == 1 ? 255 : 267)->setDateTime(ui::currentDateTime().addSecs(3600));
            item<QPushButton>(page, row.apply)->click();
            ASSERT_EQ(device->writtenTags().last(), QLatin1String(row.method));
            controller.SetOperation(false, -1, -1);
            page->OnUpdate(-6, QString::fromLatin1(row.method));
            EXPECT_EQ(status.message, QLatin1String(row.text));
            EXPECT_TRUE(item<QPushButton>(page, row.apply)->isEnabled());
        }
    }
}

TEST_F(EsdPages, ThePressuresFollowTheSettingsUnit)
{
    framework::CApplicationViewBase* page = open(6);
    ASSERT_NE(page, nullptr);
    device->parameters["4003"] = device::textVariant("7");
    page->OnUpdate(501, {});
    for (int field : {228, 209, 215, 232, 233}) {
        const auto unit = item<QLineEdit>(page, field)->parentWidget()->findChildren<QLabel*>();
        const bool inBar = std::any_of(unit.begin(), unit.end(), [](QLabel* l) { return l->text() == "bar"; });
        EXPECT_TRUE(inBar) << field;
    }
    // The limits check against the new unit: 2.5 bar is beyond the friction limit's 2.069.
    leave(page, 209, "2.5");
    EXPECT_TRUE(page->IsInvalid(15));
}

TEST_F(EsdPages, ClearingPendingChangesClearsTheNewScheduleFlag)
{
    framework::CApplicationViewBase* page = open(6);
    ASSERT_NE(page, nullptr);
    page->ClearInvalid();
    EXPECT_EQ(sent("16036"), QList<com::Variant>{com::Variant::integer(0)});
}

TEST_F(EsdPages, EsdSetupWorksInSetupModeOnly)
{
    device->parameters["1000"] = device::textVariant("3");  // Normal
    framework::CApplicationViewBase* page = open(6);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(item<QPushButton>(page, 223)->isEnabled());
    EXPECT_FALSE(item<QDateTimeEdit>(page, 267)->isEnabled());
    EXPECT_TRUE(item<QPushButton>(page, 202)->isEnabled()) << "the mode can still be changed";
}

TEST_F(EsdPages, ChangingToSetupModeFromTheGatedPageBringsItsButtonsBack)
{
    device->parameters["1000"] = device::textVariant("3");  // Normal
    framework::CApplicationViewBase* page = open(6);
    ASSERT_NE(page, nullptr);
    auto* modeToSet = item<QComboBox>(page, 201);
    modeToSet->setCurrentIndex(modeToSet->findText(QStringLiteral("Setup")));
    emit modeToSet->activated(modeToSet->currentIndex());
    item<QPushButton>(page, 202)->click();
    ASSERT_EQ(device->writtenTags().last(), QLatin1String("0"));
    device->parameters["1000"] = device::textVariant("0");
    controller.SetOperation(false, -1, -1);
    page->OnUpdate(500, {});
    for (int number : {202, 223, 213})
        EXPECT_TRUE(item<QPushButton>(page, number)->isEnabled()) << number;
}

TEST_F(EsdPages, WithoutTheDeviceTheTestsAndThePickerAreDisabled)
{
    framework::CApplicationViewBase* page = open(1);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(item<QRadioButton>(page, 208)->isEnabled());
    device->parameters["15000"] = com::Variant::boolean(false);
    page->UpdateAccess(true);
    for (int number : {208, 209, 255, 213, 310})
        EXPECT_FALSE(item<QWidget>(page, number)->isEnabled()) << number;
}

// A PST started on either page that runs it: the ESD and PST page gives back none of its
// buttons, nor the test choice or the picker, until the result, however it is shown again.
TEST_F(EsdPages, WhileAPstRunsTheEsdAndPstPageStaysLockedUntilTheResult)
{
    splitter.parent.show();
    const QList<int> choices{208, 209, 255};
    for (std::int32_t startedOn : {1, 18}) {
        SCOPED_TRACE(startedOn);
        device->calls.clear();
        framework::CApplicationViewBase* starter = showPage(startedOn);
        ASSERT_NE(starter, nullptr);
        item<QPushButton>(starter, 213)->click();
        ASSERT_EQ(device->writtenTags(), QStringList{"4"});
        framework::CApplicationViewBase* page = showPage(14);
        page = showPage(1);
        controller.OnDtmUpdate(526, {});
        controller.OnDtmUpdate(500, {});
        EXPECT_EQ(enabledButtons(*page), 0);
        for (int number : choices)
            EXPECT_FALSE(item<QWidget>(page, number)->isEnabled()) << number;
        // Even a button pressed somehow writes no schedule before its command is refused.
        item<QPushButton>(page, 310)->setEnabled(true);
        item<QPushButton>(page, 310)->click();
        EXPECT_EQ(device->writtenTags(), QStringList{"4"});

        deliver(504);
        EXPECT_EQ(enabledButtons(*page), 0b1111111);
        for (int number : choices)
            EXPECT_TRUE(item<QWidget>(page, number)->isEnabled()) << number;
    }
}

}  // namespace
