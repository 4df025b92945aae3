#include "platform/chart/DiagChart.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <vector>

using namespace orvx;

namespace {

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
