#pragma once

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <memory>
#include <utility>

namespace orvx::chart {

// A line chart over time with a value axis on each side: series are added by index and grow
// point by point. The plotting library stays behind this class; series are drawn in software.
class CTrendChart : public QWidget {
public:
    enum class Axis { Time, Left, Right };

    explicit CTrendChart(QWidget* parent = nullptr);
    ~CTrendChart() override;

    // Adds a line series drawn against the time axis and the given value axis (Left unless
    // Right); answers its index, counted from 0 in the order of adding.
    int AddSeries(const QColor& colour, Axis valueAxis);
    // Appends a point to a series; an index that names no series is ignored.
    void AppendPoint(int series, double time, double value);
    // Removes the first points of a series (all of them when it has fewer).
    void RemoveFirstPoints(int series, int count);
    // The points of a series; 0 and a null point for an index that names no series.
    int PointCount(int series) const;
    QPointF Point(int series, int index) const;

    void SetRange(Axis axis, double low, double high);
    std::pair<double, double> Range(Axis axis) const;
    void SetTitle(Axis axis, const QString& title);
    QString Title(Axis axis) const;
    void SetBackground(const QColor& colour);
    // The chart's own legend; off when the page draws its marks itself.
    void SetLegendVisible(bool visible);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace orvx::chart
