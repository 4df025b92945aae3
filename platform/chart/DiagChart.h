#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>
#include <utility>

class QPainter;

namespace orvx::chart {

// A colour as the chart's members take it: 0x00BBGGRR.
using ColourRef = std::uint32_t;
QColor colourOf(ColourRef colour);

// A part of the plane: X along the bottom, Y up the left side.
struct ChartRange {
    float xLow = 0;
    float xHigh = 0;
    float yLow = 0;
    float yHigh = 0;

    bool operator==(const ChartRange&) const = default;
};

// The diagnostic graph's chart: up to six plots of points joined by lines. Plots 0 and 1 are
// drawn against the bottom axis and the main value axis on the left; plots 2 and 3 against the
// bottom axis and a second value axis on the right, which is drawn only while it is switched on
// (member 9) and has a place (member 17). Plots 4 and 5 are a reference under the others on
// the main axes, dashed. The operations keep the numbers of the chart
// component the window was first written against; the plotting library stays behind this class
// and draws in software.
class CDiagChart : public QWidget {
public:
    static constexpr int kPlotCount = 6;
    static constexpr int kFirstReferencePlot = 4;

    explicit CDiagChart(QWidget* parent = nullptr);
    ~CDiagChart() override;

    // Member 1: grid lines across the plot area.
    void SetGridShown(bool on);
    // Member 2: numbers along the axes.
    void SetAxisLabelsShown(bool on);
    // Member 4: smoothed (antialiased) lines.
    void SetSmoothLines(bool on);
    // Member 5: the colour around and behind the plot area.
    void SetBackgroundColour(ColourRef colour);
    // Member 6: the colour of the grid lines and the plot area's frame.
    void SetGridColour(ColourRef colour);
    // Member 7: the whole range of the data; the chart then shows all of it, each axis from
    // the round tick at or below the lowest value to the one at or above the highest.
    void SetFullRange(float xLow, float xHigh, float yLow, float yHigh);
    // Member 8: the part of the range that is shown, exactly as given, ticks on round numbers
    // within it.
    void SetShownRange(float xLow, float xHigh, float yLow, float yHigh);
    // Member 9: the second value axis (first value) and its plots (second value) on when not 0.
    void SetSecondAxis(int axisOn, int plotsOn);
    // Member 10: loads a plot with `count` points: x from the first array (the pressures, or
    // the times), y from the second (the positions). Count 0 clears the plot. The count is
    // cut to the shorter array; an index that names no plot is ignored.
    void LoadPlot(int plot, int count, std::span<const float> x, std::span<const float> y);
    // Member 11: the colour a plot is drawn in.
    void SetPlotColour(int plot, ColourRef colour);
    // Member 12: the captions of the bottom and the main value axis.
    void SetAxisCaptions(const QString& x, const QString& y);
    // Member 13: draws again.
    void Redraw();
    // Lays the chart out now, for its axes and captions as they stand: points loaded next are
    // then laid out once, not again when the layout catches up.
    void LayOut();
    // Member 16: the range of the second value axis.
    void SetSecondAxisRange(float low, float high);
    // Member 17: the place beside the plot area kept for the second value axis, in pixels;
    // 0 takes the axis and its plots away. The axis sizes itself to its numbers otherwise.
    void SetSecondAxisPlace(std::int16_t pixels);
    // Member 18: how a plot shows its data points: 0 a line only, 1 a line with a mark on
    // each point, 2 the marks only. Other states count as 0.
    void SetDataPoints(int plot, int state);
    // Member 19: the caption of the second value axis.
    void SetSecondAxisCaption(const QString& caption);

    // What the chart was given, for the window's tests and exports. A plot index that names no
    // plot answers 0, a null point and an invalid colour.
    ChartRange FullRange() const;
    ChartRange ShownRange() const;
    std::pair<float, float> SecondAxisRange() const;
    bool SecondAxisShown() const;
    int PointCount(int plot) const;
    QPointF Point(int plot, int index) const;
    QColor PlotColour(int plot) const;
    bool PlotDashed(int plot) const;
    int DataPoints(int plot) const;
    QString XCaption() const;
    QString YCaption() const;
    QString SecondAxisCaption() const;
    // The distance between the ticks of the bottom and the main value axis.
    std::pair<double, double> TickSteps() const;

    // Draws the chart as it stands into a rectangle of a painter (vector output on a PDF
    // painter): laid out as on a screen of `layout` pixels, then scaled to fit the rectangle,
    // so that texts keep their size against the plot.
    void Paint(QPainter& painter, const QRectF& target, QSize layout) const;
    // The chart drawn on a white image of that size.
    QImage Render(QSize size) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace orvx::chart
