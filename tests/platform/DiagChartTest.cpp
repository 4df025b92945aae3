#include "platform/chart/DiagChart.h"

#include <gtest/gtest.h>

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

}  // namespace
