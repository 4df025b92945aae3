#include "controls/DtmListControl.h"
#include "controls/DtmTextControl.h"
#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "support/PageFixture.h"
#include "views/SensorDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace orvx;

namespace {

// The status pages made as the edit model makes them, over a fake device.
class StatusPages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1000", "0"}, {"1009", "0"}, {"4007", "6"}});
    }

    framework::CApplicationViewBase* base(std::int32_t viewId)
    {
        return dynamic_cast<framework::CApplicationViewBase*>(framework::CreatePage(viewId, &controller, &texts));
    }
    static QPushButton* button(const QWidget* page, int number) { return item<QPushButton>(page, number); }

    QWidget* page(std::int32_t viewId)
    {
        framework::IApplicationView* view = framework::CreatePage(viewId, &controller, &texts);
        return view ? view->GetWindow() : nullptr;
    }
    static QString text(const QWidget* page, int number)
    {
        if (const auto* edit = item<QLineEdit>(page, number))
            return edit->text();
        return item<QLabel>(page, number)->text();
    }
};

TEST_F(StatusPages, DeviceInfoShowsPlaceholdersUntilTheFirstRead)
{
    device->parameters["14000"] = device::textVariant("Maker Two");
    device->parameters["1003"] = device::textVariant("305419");
    QWidget* info = page(23);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(text(info, 354), QStringLiteral("Norvane-Halbrook"));
    EXPECT_EQ(text(info, 357), QStringLiteral("Device ID"));
    dynamic_cast<framework::IApplicationView*>(info)->RefreshControls(-1);
    EXPECT_EQ(text(info, 354), QStringLiteral("Maker Two"));
    EXPECT_EQ(text(info, 357), QStringLiteral("305419"));
    for (int item = 354; item <= 361; ++item) {
        const auto* field = info->findChild<QLineEdit*>(QStringLiteral("item_%1").arg(item));
        EXPECT_TRUE(field->isReadOnly()) << item;
        EXPECT_EQ(field->palette().color(QPalette::Base),
                  QApplication::palette().color(QPalette::Disabled, QPalette::Base))
            << item;
    }
}

TEST_F(StatusPages, SensorPressureLabelsFollowTheMeasuredUnitAndNewValuesAreShown)
{
    auto* sensor = dynamic_cast<views::CSensorDlg*>(page(22));
    ASSERT_NE(sensor, nullptr);
    sensor->Activate();
    struct Step {
        const char* unit;
        std::int32_t code;
        const char* shown;
    };
    // An unknown code keeps the last known unit; 524 alone does not look at the unit.
    // A unit that cannot be read (nullptr) keeps the last one too.
    const Step steps[] = {{"7", 501, "bar"},  {"12", 524, "bar"},    {"12", 502, "kpa"},
                          {"99", 501, "kpa"}, {nullptr, 501, "kpa"}, {"6", 501, "psi"}};
    for (const Step& s : steps) {
        device->failingTags.clear();
        if (s.unit)
            device->parameters["4007"] = device::textVariant(s.unit);
        else
            device->failingTags["4007"] = com::Status::Failure;
        sensor->OnUpdate(s.code, QString());
        for (int item = 338; item <= 341; ++item)
            EXPECT_EQ(text(sensor, item), QLatin1String(s.shown))
                << (s.unit ? s.unit : "unreadable") << " " << s.code << " " << item;
    }
    device->failingTags.clear();
    device->parameters["13003"] = device::textVariant("31.5");
    sensor->OnUpdate(524, QString());
    EXPECT_EQ(text(sensor, 221), QStringLiteral("31.5")) << "new values refresh every field";
}

TEST_F(StatusPages, FaultListsShowActiveFaultsFirstAndAreReadAgainAfterClearing)
{
    framework::CApplicationViewBase* faults = base(21);
    ASSERT_NE(faults, nullptr);
    auto* current = dynamic_cast<controls::CDtmListControl*>(faults->Control(10));
    auto* historical = dynamic_cast<controls::CDtmListControl*>(faults->Control(11));
    ASSERT_TRUE(current && historical);
    EXPECT_EQ(current->RowCaptions().size(), 61) << "the 72 bits less the 11 not shown";
    EXPECT_EQ(historical->RowCaptions(), current->RowCaptions());

    struct Step {
        std::int32_t code;
        bool read;
    };
    const Step steps[] = {{500, false}, {520, true}, {521, true}, {524, true}};
    for (const Step& s : steps) {
        device->parameters["12000"] = device::textVariant("110000000000000000");
        device->parameters["12001"] = device::textVariant("000000000000000080");
        faults->OnUpdate(s.code, QString());
        EXPECT_EQ(current->IsActive(1) && current->IsActive(5), s.read) << s.code;
        EXPECT_EQ(historical->IsActive(72), s.read) << s.code;
        if (s.read) {
            EXPECT_EQ(current->RowCaptions().mid(0, 2), (QStringList{"Reset", "Position Error"}));
        }
        device->parameters["12000"] = device::textVariant("000000000000000000");
        device->parameters["12001"] = device::textVariant("000000000000000000");
        faults->OnUpdate(501, QString());
    }
}

TEST_F(StatusPages, ClearButtonsSendTheirCommands)
{
    QWidget* faults = page(21);
    ASSERT_NE(faults, nullptr);
    button(faults, 213)->click();
    button(faults, 214)->click();
    EXPECT_EQ(device->writtenTags(), (QStringList{"20", "21"}));
}

TEST_F(StatusPages, TuningReadRunsAsADeviceOperationAndReplacesRejectedEntries)
{
    controller.SetStatusArea(&status, &status);
    controller.SetTextProvider(&texts);  // as the control does when it starts
    framework::CApplicationViewBase* tuning = base(13);
    ASSERT_NE(tuning, nullptr);
    device->parameters["8000"] = device::textVariant("1200");
    const auto enter = [tuning](int item, const char* text) {
        auto* edit = tuning->findChild<QLineEdit*>(QStringLiteral("item_%1").arg(item));
        edit->setText(QString::fromLatin1(text));
        edit->setModified(true);
        return edit;
    };
    auto* p = dynamic_cast<controls::CDtmTextControl*>(tuning->Control(10));
    enter(216, "21");  // Boost, the last field
    dynamic_cast<controls::CDtmTextControl*>(tuning->Control(17))->Commit();
    ASSERT_TRUE(tuning->IsInvalid(17));
    button(tuning, 213)->click();
    // Without message boxes the complaint of the first invalid field goes to the status line.
    EXPECT_EQ(status.message, QStringLiteral("Boost value must be within 0 and 20"));
    QLineEdit* edit = enter(206, "5001");
    p->Commit();
    ASSERT_TRUE(tuning->IsInvalid(10));

    button(tuning, 213)->click();
    EXPECT_EQ(status.message, QStringLiteral("P of PID parameters value must be within 0 and 5000"));
    EXPECT_FALSE(device->writtenTags().contains("13")) << "no write while an entry is out of range";
    EXPECT_FALSE(controller.IsOperationRunning());

    button(tuning, 214)->click();
    EXPECT_TRUE(device->writtenTags().contains("28"));
    EXPECT_TRUE(controller.IsOperationRunning());
    EXPECT_EQ(controller.GetOperationCode(), 528);
    EXPECT_FALSE(button(tuning, 213)->isEnabled());
    EXPECT_FALSE(button(tuning, 214)->isEnabled());

    controller.SetOperation(false, -1, -1);
    tuning->OnUpdate(528, QString());
    EXPECT_FALSE(tuning->IsInvalid(10));
    EXPECT_EQ(edit->text(), QStringLiteral("1200"));
    EXPECT_TRUE(p->IsValid());
    EXPECT_TRUE(button(tuning, 213)->isEnabled());
    EXPECT_TRUE(button(tuning, 214)->isEnabled());
}

// With message boxes, the complaint about an entry names the field too.
TEST_F(StatusPages, AnInvalidTuningEntryIsNamedByItsLabel)
{
    controller.SetStatusArea(&status, nullptr);
    controller.SetTextProvider(&texts);
    framework::CApplicationViewBase* tuning = base(13);
    ASSERT_NE(tuning, nullptr);
    auto* edit = tuning->findChild<QLineEdit*>(QStringLiteral("item_206"));
    edit->setText(QStringLiteral("9999"));
    edit->setModified(true);
    dynamic_cast<controls::CDtmTextControl*>(tuning->Control(10))->Commit();

    device->parameters["20000"] = com::Variant::boolean(true);
    button(tuning, 213)->click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"P of PID parameters value must be within 0 and 5000"});
}

TEST_F(StatusPages, ATuningWriteTheDeviceRefusesStartsNothing)
{
    QWidget* tuning = page(13);
    ASSERT_NE(tuning, nullptr);
    device->failingTags["13"] = com::Status::Failure;
    button(tuning, 213)->click();
    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_TRUE(button(tuning, 213)->isEnabled());
}

}  // namespace
