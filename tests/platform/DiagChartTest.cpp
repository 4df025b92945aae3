#include "platform/chart/DiagChart.h"
#include "platform/chart/TickStep.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <limits>
#include <vector>

using namespace orvx;

namespace {

// Ticks fall on 1, 2 or 5 times a power of ten, at most eight parts to the span.
TEST(TickStep, IsTheSmallestRoundStepThatCutsTheSpanIntoAtMostEightParts)
{
    const struct {
        double span;
        double step;
    } rows[] = {
        {0, 1},
        {-5, 1},
        {std::numeric_limits<double>::quiet_NaN(), 1},
        {std::numeric_limits<double>::infinity(), 1},
        {8, 1},
        {8.01, 2},
        {10, 2},
        {16, 2},
        {16.5, 5},
        {24.5, 5},
        {40, 5},
        {41, 10},
        {100, 20},
        {120, 20},
        {2.2, 0.5},
        {0.1, 0.02},
        {0.0007, 0.0001},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(chart::tickStep(row.span), row.step) << row.span;
}

// A data range is widened to the round ticks around it, the step chosen for the widened span.
TEST(TickRange, StartsAndEndsOnRoundTicksAroundTheData)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double low, high;
        chart::TickRange range;
    } rows[] = {
        {5, 4, {0, 1, 1}},       // the wrong way round
        {nan, 4, {0, 1, 1}},     // no number
        {3, 3, {3, 4, 1}},       // no width: one step from the tick at or below it
        {0, 0, {0, 1, 1}},       // no width at zero
        {0, 100, {0, 100, 20}},  // already round
        {21.49, 33.87, {20, 34, 2}},
        {0.001, 0.0042, {0.001, 0.0045, 0.0005}},
        {-5, 5, {-6, 6, 2}},
        {-8.3, -2.1, {-9, -2, 1}},
        {0.5, 16.4, {0, 20, 5}},  // 0..18 on steps of 2 is nine parts: the step grows
        {-0.1, 0.1, {-0.1, 0.1, 0.05}},
    };
    for (const auto& row : rows) {
        const chart::TickRange got = chart::tickRange(row.low, row.high);
        EXPECT_NEAR(got.low, row.range.low, 1e-12) << row.low << ".." << row.high;
        EXPECT_NEAR(got.high, row.range.high, 1e-12) << row.low << ".." << row.high;
        EXPECT_DOUBLE_EQ(got.step, row.range.step) << row.low << ".." << row.high;
    }
    // Fewer than two parts asked for never loops: a range across a tick takes two.
    const chart::TickRange two = chart::tickRange(-0.1, 0.1, 1);
    EXPECT_DOUBLE_EQ((two.high - two.low) / two.step, 2);
}

TEST(DiagChart, TheDataRangeIsShownOnRoundTicksATypedRangeAsTyped)
{
    chart::CDiagChart chart;
    chart.SetShownRange(21.4906f, 46.25f, 0, 100);
    EXPECT_EQ(chart.ShownRange(), (chart::ChartRange{21.4906f, 46.25f, 0, 100}));
    EXPECT_EQ(chart.TickSteps(), (std::pair<double, double>{5, 20}));
    chart.SetFullRange(0.2f, 3.3f, 21.4906f, 33.8703f);
    EXPECT_EQ(chart.FullRange(), (chart::ChartRange{0.2f, 3.3f, 21.4906f, 33.8703f}));
    EXPECT_EQ(chart.ShownRange(), (chart::ChartRange{0, 3.5f, 20, 34}));
    EXPECT_EQ(chart.TickSteps(), (std::pair<double, double>{0.5, 2}));
}

TEST(DiagChart, PlotsTakeNoMorePointsThanBothArraysHold)
{
    chart::CDiagChart chart;
    const std::vector<float> x{1, 2, 3}, y{4, 5};
    chart.LoadPlot(0, 3, x, y);
    EXPECT_EQ(chart.PointCount(0), 2);
    chart.LoadPlot(0, 1, x, y);
    EXPECT_EQ(chart.PointCount(0), 1);
    chart.LoadPlot(0, -1, x, y);
    EXPECT_EQ(chart.PointCount(0), 0);
    for (int outside : {-1, chart::CDiagChart::kPlotCount}) {
        chart.LoadPlot(outside, 2, x, y);
        chart.SetPlotColour(outside, 0);
        chart.SetDataPoints(outside, 1);
        EXPECT_EQ(chart.PointCount(outside), 0);
        EXPECT_FALSE(chart.PlotColour(outside).isValid());
    }
    chart.SetDataPoints(1, 3);
    EXPECT_EQ(chart.DataPoints(1), 0);
    EXPECT_EQ(chart::colourOf(0x204080), QColor(0x80, 0x40, 0x20));
}

TEST(DiagChart, TheSecondAxisNeedsBothItsSwitchAndAPlace)
{
    chart::CDiagChart chart;
    EXPECT_FALSE(chart.SecondAxisShown());
    chart.SetSecondAxis(1, 1);
    EXPECT_FALSE(chart.SecondAxisShown());
    chart.SetSecondAxisPlace(170);
    EXPECT_TRUE(chart.SecondAxisShown());
    chart.SetSecondAxisPlace(0);
    EXPECT_FALSE(chart.SecondAxisShown());
    EXPECT_EQ(chart.Render(QSize(300, 200)).size(), QSize(300, 200));
}

// Data points switched on after a load mark the points loaded before, and only while on.
TEST(DiagChart, MarksShowThePointsLoadedBeforeTheyWereSwitchedOn)
{
    chart::CDiagChart chart;
    chart.SetFullRange(0, 10, 0, 10);
    chart.SetShownRange(0, 10, 0, 10);
    chart.SetPlotColour(0, 0x00C000);  // green, drawn by nothing else
    const std::vector<float> x{2, 5, 8}, y{2, 8, 2};
    chart.LoadPlot(0, 3, x, y);
    const auto green = [&chart] {
        const QImage image = chart.Render(QSize(300, 200));
        int count = 0;
        for (int row = 0; row < image.height(); ++row)
            for (int column = 0; column < image.width(); ++column) {
                const QColor c = image.pixelColor(column, row);
                count += c.green() > 150 && c.red() < 100 && c.blue() < 100;
            }
        return count;
    };
    chart.SetDataPoints(0, 2);  // marks only
    EXPECT_GT(green(), 20);
    chart.SetDataPoints(0, 0);  // the line only
    const int line = green();
    EXPECT_GT(line, 20);
    chart.LoadPlot(0, 0, x, y);
    EXPECT_EQ(green(), 0);
    chart.LoadPlot(0, 3, x, y);
    chart.SetDataPoints(0, 2);
    EXPECT_GT(green(), 20) << "a load while the marks were off still reaches them";
}

}  // namespace
