#include "controls/DtmTextControl.h"
#include "device/StringBridge.h"
#include "framework/PageTable.h"
#include "framework/SinglePageEditModel.h"
#include "platform/chart/TrendChart.h"
#include "platform/ui/Clock.h"
#include "support/PageFixture.h"
#include "views/OfflineDlg.h"
#include "views/TrendDlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

using namespace orvx;

namespace {

// The single page of a control made as its edit model makes it, over a fake data set.
template <class Model>
class SinglePage : public test::PageFixture<Model> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return this->ConnectedDevice({{"1000", "1"}, {"4003", "6"}, {"5005", "40.0"}, {"5006", "100.0"}});
    }
    void SetUp() override
    {
        test::PageFixture<Model>::SetUp();
        this->controller.SetTextProvider(&this->texts);
    }

    void set(const char* tag, const char* value)
    {
        this->device->parameters[QString::fromLatin1(tag)] = device::textVariant(value);
    }
};

using Offline = SinglePage<framework::CEditModelOffline>;

TEST_F(Offline, SupplyLimitsTakeTheDataSetsPressureUnitWithoutScalingTwice)
{
    auto* page = dynamic_cast<views::COfflineDlg*>(
        framework::CreateSinglePage(framework::SinglePage::Offline, &controller, &texts));
    ASSERT_NE(page, nullptr);
    page->Activate();
    page->RefreshControls(-1);
    QLineEdit* low = item<QLineEdit>(page, 1024);
    QLineEdit* high = item<QLineEdit>(page, 1025);
    EXPECT_EQ(low->text(), QStringLiteral("40.0"));
    EXPECT_EQ(item<QLabel>(page, 1224)->text(), QStringLiteral("psi"));

    // The data set turns to bar and keeps its limits in bar from then on.
    set("4003", "7");
    set("5005", "2.758");
    set("5006", "6.895");
    page->OnUpdate(501, QString());
    EXPECT_EQ(page->ShownPressureUnit(), 7u);
    EXPECT_EQ(low->text(), QStringLiteral("2.758"));
    EXPECT_EQ(high->text(), QStringLiteral("6.895"));
    for (int unitLabel : {1224, 1225})
        EXPECT_EQ(item<QLabel>(page, unitLabel)->text(), QStringLiteral("bar"));
    auto* lowField = dynamic_cast<controls::CDtmTextControl*>(page->Control(24));
    EXPECT_TRUE(lowField->Validate());
    low->setText(QStringLiteral("40"));
    EXPECT_FALSE(lowField->Validate()) << "40 is out of the bar range 2.069 to 7.584";

    // An unchanged unit leaves the fields as the refresh shows them.
    set("5005", "3.000");
    page->OnUpdate(502, QString());
    EXPECT_EQ(low->text(), QStringLiteral("3.000"));

    // Only a reread tells the unit: showing the page again, new values and a unit that cannot
    // be read leave it.
    set("4003", "6");
    page->Activate();
    page->OnUpdate(524, QString());
    device->failingTags["4003"] = com::Status::Failure;
    page->OnUpdate(501, QString());
    EXPECT_EQ(page->ShownPressureUnit(), 7u);
    EXPECT_EQ(item<QLabel>(page, 1224)->text(), QStringLiteral("bar"));
}

TEST_F(Offline, ADataSetInBarIsShownInBarFromTheStart)
{
    set("4003", "7");
    set("5005", "2.758");
    auto* page = dynamic_cast<views::COfflineDlg*>(
        framework::CreateSinglePage(framework::SinglePage::Offline, &controller, &texts));
    ASSERT_NE(page, nullptr);
    page->RefreshControls(-1);
    page->Activate();
    EXPECT_EQ(item<QLineEdit>(page, 1024)->text(), QStringLiteral("2.758"));
    EXPECT_EQ(item<QLabel>(page, 1224)->text(), QStringLiteral("bar"));
}

// A clock the test moves by hand.
struct ManualClock : ui::ISteadyClock {
    std::int64_t now = 5000;
    std::int64_t milliseconds() const override { return now; }
};

class Trend : public SinglePage<framework::CEditModelTrend> {
protected:
    void SetUp() override
    {
        SinglePage::SetUp();
        previous = ui::setSteadyClock(&clock);
        set("2000", "12");
        set("2003", "42.5");
        set("2006", "8.0");
        set("4007", "6");
        page = dynamic_cast<views::CTrendDlg*>(
            framework::CreateSinglePage(framework::SinglePage::Trend, &controller, &texts));
        ASSERT_NE(page, nullptr);
        chart = page->findChild<chart::CTrendChart*>(QStringLiteral("item_211"));
        ASSERT_NE(chart, nullptr);
    }
    void TearDown() override { ui::setSteadyClock(previous); }

    // One notification 524 at the given second after the first sample.
    void sampleAt(double seconds)
    {
        clock.now = 5000 + static_cast<std::int64_t>(seconds * 1000);
        page->OnUpdate(524, QString());
    }

    ManualClock clock;
    ui::ISteadyClock* previous = nullptr;
    views::CTrendDlg* page = nullptr;
    chart::CTrendChart* chart = nullptr;
};

TEST_F(Trend, EachNewValuesNotificationAddsOneSampleAndTheWindowScrollsByAMinute)
{
    using Axis = chart::CTrendChart::Axis;
    sampleAt(0);
    EXPECT_EQ(item<QLabel>(page, 213)->text(), QStringLiteral("50.00")) << "12 mA";
    EXPECT_EQ(item<QLabel>(page, 208)->text(), QStringLiteral("42.5"));
    EXPECT_EQ(chart->Point(0, 0), QPointF(0, 50));

    set("2006", "100000");  // the out-of-range marker adds nothing
    sampleAt(30);
    set("2006", "8.0");
    device->failingTags["2003"] = com::Status::Failure;  // nor does a position that cannot be read
    sampleAt(31);
    device->failingTags.clear();
    EXPECT_EQ(page->Store().time.size(), 1u);
    set("2000", "today");  // a signal that is no number leaves the one shown
    page->RefreshControls(-1);
    EXPECT_EQ(item<QLabel>(page, 213)->text(), QStringLiteral("50.00"));
    set("2000", "12");

    struct Step {
        double at, windowStart, windowEnd;
        std::size_t kept;
    };
    const Step steps[] = {{59.5, 0, 120, 2}, {121, 0, 180, 3}, {181, 60, 240, 2}, {400, 240, 420, 1}};
    for (const Step& step : steps) {
        sampleAt(step.at);
        EXPECT_EQ(chart->Range(Axis::Time), std::make_pair(step.windowStart, step.windowEnd)) << step.at;
        EXPECT_EQ(page->Store().time.size(), step.kept) << step.at;
        for (int series = 0; series < 3; ++series)
            EXPECT_EQ(chart->PointCount(series), static_cast<int>(step.kept)) << step.at;
    }
    EXPECT_EQ(chart->Range(Axis::Left), std::make_pair(0.0, 120.0));

    // An hour of samples twice a second: the store never holds more than the window shows.
    std::size_t most = 0;
    for (double at = 401; at < 401 + 3600; at += 0.5) {
        sampleAt(at);
        most = std::max(most, page->Store().time.size());
    }
    EXPECT_LE(most, 360u + 120u) << "at most the 180-second window and the minute it scrolls by";
    EXPECT_EQ(chart->PointCount(0), static_cast<int>(page->Store().time.size()));
}

TEST_F(Trend, ThePressureAxisFollowsTheMeasuredUnit)
{
    using Axis = chart::CTrendChart::Axis;
    EXPECT_EQ(chart->Range(Axis::Right), std::make_pair(0.0, 100.0));
    const struct {
        int code;
        const char* unit;  // nullptr: the unit cannot be read
        double high;
        const char* name;
    } steps[] = {
        {501, "7", 10, "bar"},       {502, "12", 1000, "kpa"},
        {501, nullptr, 1000, "kpa"}, {524, "7", 1000, "kpa"},  // new values leave the unit to a reread
        {502, "6", 100, "psi"},
    };
    for (const auto& step : steps) {
        device->failingTags.clear();
        if (step.unit)
            set("4007", step.unit);
        else
            device->failingTags["4007"] = com::Status::Failure;
        page->OnUpdate(step.code, QString());
        EXPECT_EQ(chart->Range(Axis::Right), std::make_pair(0.0, step.high)) << step.code << " " << step.name;
        EXPECT_EQ(chart->Title(Axis::Right), QLatin1String(step.name));
        EXPECT_EQ(item<QLabel>(page, 348)->text(), QLatin1String(step.name));
    }
}

}  // namespace
