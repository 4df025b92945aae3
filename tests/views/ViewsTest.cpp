#include "controls/IFdtControl.h"
#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "platform/ui/Colours.h"
#include "platform/ui/Resources.h"
#include "platform/xml/XmlDocument.h"
#include "support/PageFixture.h"
#include "views/OrvxESDHARTDlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include <optional>

using namespace orvx;

namespace {

// The pages made as the edit model makes them, over a fake device.
class Pages : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice(
            {{"1000", "1"}, {"1009", "0"}, {"1001", "PV-101"}, {"4007", "7"}, {"2012", "0"}, {"2006", "3.5"}});
    }
};

TEST_F(Pages, TheOverviewFollowsTheDevicesPressureUnitAndEsdState)
{
    auto* page = dynamic_cast<views::COrvxESDHARTDlg*>(framework::CreatePage(0, &controller, &texts));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->ShownTripped(), std::nullopt) << "nothing shown before the first read";
    page->Activate();
    const auto* pressure = page->findChild<QProgressBar*>(QStringLiteral("item_210"));
    EXPECT_EQ(pressure->maximum(), 10) << "bar: 0 to 10";
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("item_241"))->text(), QStringLiteral("10 bar"));
    EXPECT_EQ(page->ShownTripped(), false);

    // What cannot be read is left as shown: an unreadable unit holds back the ESD state too.
    const struct {
        const char* unit;
        const char* tripped;
        const char* failing;
        std::optional<bool> shownTripped;
        int maximum;
    } steps[] = {
        {"12", "1", nullptr, true, 1000},
        {"7", "0", "4007", true, 1000},
        {"7", "0", "2012", true, 10},
        {"6", "0", nullptr, false, 150},
    };
    for (const auto& step : steps) {
        device->parameters["4007"] = device::textVariant(step.unit);
        device->parameters["2012"] = device::textVariant(step.tripped);
        device->failingTags.clear();
        if (step.failing)
            device->failingTags[step.failing] = com::Status::Failure;
        page->OnUpdate(524, QString());
        EXPECT_EQ(page->ShownTripped(), step.shownTripped) << step.unit << " " << step.tripped;
        const auto* words = page->findChild<QLabel*>(QStringLiteral("esdTrippedWords"));
        EXPECT_EQ(words->text(), *step.shownTripped ? "ESD Tripped: YES" : "ESD Tripped: no");
        EXPECT_EQ(words->palette().color(QPalette::WindowText) == ui::kWarningColour, *step.shownTripped);
        EXPECT_EQ(pressure->maximum(), step.maximum) << step.unit << " " << step.tripped;
    }
    device->failingTags.clear();
    device->parameters["4007"] = device::textVariant("12");
    page->OnUpdate(524, QString());
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("item_239"))->text(), QStringLiteral("3.5 kpa"));
}

// One new set of values on the overview reads each parameter the page shows once, the
// device's state included, however many parts of the page follow the mode.
TEST_F(Pages, NewValuesOnTheOverviewReadEachParameterOnce)
{
    splitter.parent.show();
    ASSERT_NE(showPage(0), nullptr);
    device->calls.clear();
    controller.OnDtmUpdate(524, QString());
    QMap<QString, int> reads;
    for (const test::Call& call : device->callsOf(QStringLiteral("GetParameter")))
        ++reads[call.argument];
    for (auto it = reads.cbegin(); it != reads.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    for (const char* state : {"15000", "1009", "1000"})
        EXPECT_EQ(reads.value(QString::fromLatin1(state)), 1) << state;
    EXPECT_EQ(controller.GetView(0)->GetWindow()->findChild<QLabel*>(QStringLiteral("item_205"))->text(),
              QStringLiteral("Manual"));
}

TEST_F(Pages, EveryOverviewBarNamesItsEnds)
{
    auto* page = dynamic_cast<views::COrvxESDHARTDlg*>(framework::CreatePage(0, &controller, &texts));
    ASSERT_NE(page, nullptr);
    page->Activate();
    device->parameters["2000"] = device::textVariant("12.5");
    device->parameters["2003"] = device::textVariant("40");
    page->OnUpdate(524, QString());  // a refresh of the live values leaves the ends alone
    const std::pair<int, const char*> ends[] = {
        {234, "4 mA"},  {235, "20 mA"},   // input signal
        {237, "0 %"},   {238, "100 %"},   // valve position
        {240, "0 bar"}, {241, "10 bar"},  // pressure, in the device's unit
        {243, "0 bar"}, {244, "10 bar"},  // supply pressure
    };
    for (const auto& [item, text] : ends) {
        const auto* label = page->findChild<QLabel*>(QStringLiteral("item_%1").arg(item));
        ASSERT_NE(label, nullptr) << item;
        EXPECT_EQ(label->text(), QLatin1String(text)) << item;
    }
}

TEST_F(Pages, HeaderOnlyPagesShowTheDeviceHeader)
{
    for (std::int32_t view : {2, 10, 20}) {
        framework::IApplicationView* page = framework::CreatePage(view, &controller, &texts);
        ASSERT_NE(page, nullptr) << view;
        page->RefreshControls(-1);
        EXPECT_EQ(page->GetWindow()->findChild<QLabel*>(QStringLiteral("item_203"))->text(), QStringLiteral("PV-101"));
        EXPECT_EQ(page->GetWindow()->findChild<QLabel*>(QStringLiteral("item_205"))->text(), QStringLiteral("Manual"));
    }
}

}  // namespace

namespace {

// Every control of every page is attached to its widgets, every ViewSetting resource parses, and
// every control it names exists on its page.
TEST_F(Pages, EveryControlHasItsWidgetAndEveryViewSettingNamesOnlyControlsOfItsPage)
{
    auto checkNames = [](framework::IApplicationView* page, int resource) {
        ASSERT_NE(page, nullptr) << resource;
        const auto* base = static_cast<framework::CApplicationViewBase*>(page);
        int controls = 0;
        for (std::int32_t id = 0; id < 1000; ++id) {
            if (const controls::IFdtControl* control = base->Control(id)) {
                ++controls;
                EXPECT_TRUE(control->HasWidget()) << "page " << resource << " control " << id;
            }
        }
        EXPECT_GE(controls, 7) << "page " << resource << ": the header's controls at least";
        const auto document = xml::XmlDocument::parse(ui::xmlResource(resource));
        ASSERT_TRUE(document) << resource;
        for (const auto& data : document->selectNodes(QStringLiteral("//ControlData"))) {
            const QString id = data.textAt(QStringLiteral("./@controlId")).value_or(QString());
            EXPECT_NE(base->Control(id.toInt()), nullptr)
                << "ViewSetting " << resource << " names control " << id.toStdString();
        }
    };
    int made = 0;
    for (std::int32_t view = framework::kFirstViewId; view <= framework::kLastViewId; ++view) {
        if (auto* page = framework::CreatePage(view, &controller, &texts)) {
            checkNames(page, framework::FindPageInfo(view)->viewSettingResource);
            ++made;
        }
    }
    EXPECT_EQ(made, 24) << "every view has its page";
    for (const auto which : {framework::SinglePage::Offline, framework::SinglePage::Trend}) {
        framework::CUIController single;
        single.SetMainSplitter(&splitter);
        checkNames(framework::CreateSinglePage(which, &single, &texts),
                   framework::SinglePageInfo(which).viewSettingResource);
    }
}

}  // namespace
