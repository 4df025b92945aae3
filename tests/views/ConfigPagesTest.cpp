#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace orvx;

namespace {

class ConfigPages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1000", "0"},
                                {"1009", "0"},
                                {"4003", "6"},
                                {"3000", "0"},
                                {"6002", "50.0"},
                                {"7001", "5"},
                                {"7004", "1"},
                                {"7005", "3"}},
                               /*messageBoxes=*/true);
    }

    QWidget* open(std::int32_t view)
    {
        view_ = framework::CreatePage(view, &controller, &texts);
        if (!view_)
            return nullptr;
        view_->Activate();
        view_->RefreshControls(-1);
        return view_->GetWindow();
    }
    framework::IApplicationView* view_ = nullptr;
};

TEST_F(ConfigPages, HartPageShowsCommunicationSettings)
{
    QWidget* page = open(9);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item<QLineEdit>(page, 208)->text(), QStringLiteral("5"));
    EXPECT_TRUE(item<QLineEdit>(page, 208)->isReadOnly());
    EXPECT_EQ(item<QComboBox>(page, 213)->currentText(), QStringLiteral("Enter"));
    EXPECT_EQ(item<QComboBox>(page, 214)->currentText(), QStringLiteral("Cmd 3:Read All Variables"));
}

TEST_F(ConfigPages, CommissionConfigurationRereadsAfterCommissioning)
{
    QWidget* page = open(15);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item<QComboBox>(page, 312)->currentText(), QStringLiteral("Air to Close"));
    device->parameters["3000"] = device::textVariant("1");
    view_->OnUpdate(505, {});
    EXPECT_EQ(item<QComboBox>(page, 312)->currentText(), QStringLiteral("Air to Open"));
}

// After a reset the PST pressures go back to psi unless the unit is psi already; a value that
// cannot be read ends the rewrite.
TEST_F(ConfigPages, ResetRewritesPstPressuresInPsi)
{
    struct Case {
        const char* unit;
        const char* failing;
        QStringList written;
        const char* first;  // 16001 afterwards, from 2.0
    };
    const Case cases[] = {
        {"6", nullptr, {}, "2.0"},
        {"7", nullptr, {"16001", "16005", "16006", "16007", "16008"}, "29.0"},
        {"12", "16006", {"16001", "16005"}, "0.3"},
    };
    for (const Case& c : cases) {
        device->parameters["4003"] = device::textVariant(QString::fromLatin1(c.unit));
        for (const char* tag : {"16001", "16005", "16006", "16007", "16008"})
            device->parameters[QString::fromLatin1(tag)] = device::textVariant("2.0");
        device->failingTags.clear();
        if (c.failing)
            device->failingTags[QString::fromLatin1(c.failing)] = com::Status::Failure;
        QWidget* page = view_ ? view_->GetWindow() : open(4);
        ASSERT_NE(page, nullptr);
        device->calls.clear();
        item<QPushButton>(page, 213)->click();
        EXPECT_EQ(device->writtenTags(), QStringList{"6"}) << c.unit;
        EXPECT_EQ(device->callsOf(QStringLiteral("SetParameter")).value(0).value.type(), com::VariantType::Empty);
        device->calls.clear();
        view_->OnUpdate(506, {});
        EXPECT_EQ(device->writtenTags(), c.written) << c.unit;
        EXPECT_EQ(device::variantText(device->parameters["16001"]), QString::fromLatin1(c.first)) << c.unit;
    }
}

// The value of DO switch 2 is editable for the position limit actions only, on both pages.
TEST_F(ConfigPages, SwitchValueIsEditableForPositionLimitsOnly)
{
    for (std::int32_t view : {8, 19}) {
        device->parameters["6000"] = device::textVariant("5");
        QWidget* page = open(view);
        ASSERT_NE(page, nullptr);
        auto* value = item<QLineEdit>(page, 274);
        EXPECT_FALSE(value->isReadOnly()) << view;
        for (const auto& [action, editable] : {std::pair{"0", false}, {"6", true}, {"11", false}, {"5", true}}) {
            device->parameters["6000"] = device::textVariant(QString::fromLatin1(action));
            view_->OnUpdate(501, {});
            EXPECT_EQ(value->isReadOnly(), !editable) << view << " action " << action;
        }
        auto* actionBox = item<QComboBox>(page, 215);
        actionBox->setCurrentIndex(2);
        emit actionBox->activated(2);  // the user picks "2. Any Alarm"
        EXPECT_TRUE(value->isReadOnly());
        EXPECT_EQ(device::variantText(device->parameters["6000"]), QStringLiteral("2"));
    }
}

TEST_F(ConfigPages, GeneralPageShowsTheDeviceDate)
{
    device->parameters["4000"] = device::textVariant("110-6-11");
    QWidget* page = open(5);
    ASSERT_NE(page, nullptr);
    auto* date = item<QDateEdit>(page, 285);
    EXPECT_EQ(date->date(), QDate(2010, 6, 11));
    EXPECT_TRUE(date->isEnabled());
    // None of these is a date: the picker keeps the one it shows.
    for (const char* text : {"", "today", "124-13-1", "124-5", "99999999999-1-1"}) {
        device->parameters["4000"] = device::textVariant(QString::fromLatin1(text));
        view_->RefreshControls(-1);
        EXPECT_EQ(date->date(), QDate(2010, 6, 11)) << text;
    }
}

TEST_F(ConfigPages, TheDatePickerFollowsTheModeGateAndTheWriteRight)
{
    device->parameters["4000"] = device::textVariant("110-6-11");
    device->parameters["1000"] = device::textVariant("1");  // Manual
    view_ = framework::CreatePage(5, &controller, &texts);
    ASSERT_NE(view_, nullptr);
    auto* page = static_cast<framework::CApplicationViewBase*>(view_);
    page->SetRequiredMode(1);  // Setup only
    controller.ActivateView(5);
    auto* date = item<QDateEdit>(page, 285);
    auto* tag = item<QLineEdit>(page, 206);
    ASSERT_TRUE(date && tag);
    ASSERT_TRUE(page->IsActivated());

    struct Step {
        const char* mode;  // "1000": 0 Setup, 1 Manual
        const char* userLevel;
        bool enabled;
    };
    const Step steps[] = {
        {"1", "maintenance", false},                               // the device is in the wrong mode
        {"1", "observer", false},    {"1", "maintenance", false},  // write right back, the mode still wrong
        {"0", "maintenance", true},  {"0", "observer", false},
        {"0", "maintenance", true},  {"1", "maintenance", false},
    };
    for (const Step& step : steps) {
        const QString mode = QString::fromLatin1(step.mode);
        if (device::variantText(device->parameters["1000"]) != mode) {
            device->parameters["1000"] = device::textVariant(mode);
            view_->OnUpdate(500, {});  // the mode change has finished
        }
        controller.SetUserLevel(QString::fromLatin1(step.userLevel));
        EXPECT_EQ(date->isEnabled(), step.enabled) << "mode " << step.mode << ", " << step.userLevel;
        if (QLatin1String(step.userLevel) != QLatin1String("observer")) {
            EXPECT_EQ(tag->isEnabled(), step.enabled) << "the picker is gated as the page's fields are";
        }
    }
}

TEST_F(ConfigPages, SupplyLimitsMustKeepLowBelowHigh)
{
    device->parameters["5005"] = device::textVariant("40.0");
    device->parameters["5006"] = device::textVariant("100.0");
    QWidget* page = open(7);
    ASSERT_NE(page, nullptr);
    const QString wrongWay = QStringLiteral("Supply Limit Low must be less than Supply Limit High.");

    enter(page, 214, QStringLiteral("50"));
    EXPECT_TRUE(counted().isEmpty()) << "a pair the right way round counts nothing";
    enter(page, 214, QStringLiteral("100"));
    enter(page, 215, QStringLiteral("90"));
    enter(page, 214, QStringLiteral("100"));
    EXPECT_EQ(counted(), QList<int>{1}) << "counted once however often the fields are left";
    EXPECT_FALSE(view_->CheckValid(-1));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{wrongWay});

    enter(page, 215, QStringLiteral("110"));
    EXPECT_EQ(counted(), (QList<int>{1, -1}));
    enter(page, 215, QStringLiteral("100"));
    EXPECT_EQ(counted(), (QList<int>{1, -1, 1})) << "equal limits are the wrong way round";
    view_->ClearInvalid();
    EXPECT_TRUE(view_->CheckValid(-1));

    // A limit out of its own range is reported by itself; the pair is not checked.
    device->calls.clear();
    dialogs.messages.clear();
    enter(page, 214, QStringLiteral("25"));
    enter(page, 215, QStringLiteral("20"));
    EXPECT_EQ(counted(), (QList<int>{1, 1})) << "the two range errors only";
    view_->CheckValid(-1);
    EXPECT_FALSE(dialogs.messageTexts().contains(wrongWay));

    // With the device's own dialogs turned off the pair is still refused, without a message.
    view_->ClearInvalid();
    enter(page, 214, QStringLiteral("90"));
    enter(page, 215, QStringLiteral("80"));
    device->parameters["20000"] = com::Variant::boolean(false);
    dialogs.messages.clear();
    EXPECT_FALSE(view_->CheckValid(-1));
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(ConfigPages, AnInvalidSupplyLimitFollowsTheUnitChange)
{
    QWidget* page = open(7);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(item<QLabel>(page, 293)->text(), QStringLiteral("psi"));
    enter(page, 214, QStringLiteral("25"));
    device->parameters["4003"] = device::textVariant("7");
    view_->OnUpdate(501, {});
    EXPECT_EQ(item<QLineEdit>(page, 214)->text(), QStringLiteral("1.724"));
    EXPECT_EQ(item<QLabel>(page, 293)->text(), QStringLiteral("bar"));
    EXPECT_EQ(item<QLabel>(page, 294)->text(), QStringLiteral("bar"));
    enter(page, 214, QStringLiteral("2.069"));
    EXPECT_EQ(counted(), (QList<int>{1, -1})) << "2.069 bar is the least valid low limit";
    device->failingTags["4003"] = com::Status::Failure;  // a unit that cannot be read changes nothing
    view_->OnUpdate(501, {});
    EXPECT_EQ(item<QLabel>(page, 293)->text(), QStringLiteral("bar"));
}

// A field that depends on another stays read-only when the device reaches the mode the page
// asks for, unless the other allows it and the user may write.
TEST_F(ConfigPages, TheModeGateKeepsDependentFieldsReadOnly)
{
    const struct {
        std::int32_t view;
        const char* tag;  // the field it depends on
        const char* value;
        int field;
        const char* userLevel;
        bool editable;
    } cases[] = {
        {7, "5001", "0", 208, "maintenance", false},  // position error reporting off
        {7, "5001", "1", 208, "maintenance", true},
        {7, "5001", "1", 208, "observer", false},
        {19, "6000", "2", 274, "maintenance", false},  // DO switch 2 on any alarm
        {19, "6000", "6", 274, "maintenance", true},   // on the upper position limit
        {19, "6000", "6", 274, "observer", false},
        {19, "6000", "99", 274, "maintenance", false},  // an action the page does not know
    };
    device->parameters["1000"] = device::textVariant("1");  // Manual
    QMap<std::int32_t, framework::IApplicationView*> pages;
    for (std::int32_t view : {7, 19}) {
        pages[view] = framework::CreatePage(view, &controller, &texts);
        ASSERT_NE(pages[view], nullptr);
        static_cast<framework::CApplicationViewBase*>(pages[view])->SetRequiredMode(1);  // Setup only
    }
    for (const auto& c : cases) {
        framework::IApplicationView* page = pages[c.view];
        controller.ActivateView(c.view);
        controller.SetUserLevel(QStringLiteral("observer"));  // the write right comes back below
        device->parameters["1000"] = device::textVariant("1");
        page->OnUpdate(500, {});  // the mode change has finished: the page is locked
        device->parameters[QString::fromLatin1(c.tag)] = device::textVariant(QString::fromLatin1(c.value));
        page->OnUpdate(501, {});  // read again
        controller.SetUserLevel(QString::fromLatin1(c.userLevel));
        device->parameters["1000"] = device::textVariant("0");
        page->OnUpdate(500, {});  // and now in Setup
        auto* field = item<QLineEdit>(page->GetWindow(), c.field);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->isReadOnly(), !c.editable) << c.view << " " << c.tag << "=" << c.value << " " << c.userLevel;
    }
}

TEST_F(ConfigPages, PositionErrorTimeFollowsTheEnableBox)
{
    device->parameters["5001"] = device::textVariant("1");
    QWidget* page = open(7);
    ASSERT_NE(page, nullptr);
    auto* time = item<QLineEdit>(page, 208);
    EXPECT_FALSE(time->isReadOnly());
    item<QCheckBox>(page, 210)->click();
    EXPECT_TRUE(time->isReadOnly());
    EXPECT_EQ(device::variantText(device->parameters["5001"]), QStringLiteral("0"));
    item<QCheckBox>(page, 210)->click();
    EXPECT_FALSE(time->isReadOnly());

    // The box rules over the write right coming back, too.
    item<QCheckBox>(page, 210)->click();
    controller.SetUserLevel(QStringLiteral("observer"));
    controller.SetUserLevel(QStringLiteral("maintenance"));
    EXPECT_TRUE(time->isReadOnly());
}

}  // namespace
