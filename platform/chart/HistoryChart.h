#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>
#include <QWidget>

#include <memory>
#include <span>
#include <utility>

namespace orvx::chart {

// Values over dates, one line per series with a mark on each test, failed tests marked apart
// (a red diamond), limits as dashed lines across the whole chart and a trend as a dotted line.
// The plotting library stays behind this class; series are drawn in software.
class CHistoryChart : public QWidget {
public:
    struct Point {
        QDateTime when;
        double value = 0;
        bool failed = false;
    };

    explicit CHistoryChart(QWidget* parent = nullptr);
    ~CHistoryChart() override;

    // Takes everything away: series, limits, trend.
    void Clear();
    // Adds a series named for the legend; answers its index, counted from 0.
    int AddSeries(const QString& name, const QColor& colour, std::span<const Point> points);
    void AddLimit(const QString& name, double value, const QColor& colour);
    // A straight line from one moment and value to another.
    void SetTrend(const QString& name, const Point& from, const Point& to);
    void SetValueTitle(const QString& title);

    // What the chart was given, for the window's tests.
    int SeriesCount() const;
    int PointCount(int series) const;
    int FailedCount(int series) const;
    int LimitCount() const;
    double LimitValue(int limit) const;
    Qt::PenStyle LimitStyle(int limit) const;
    bool HasTrend() const;
    // The shown span of the date axis and of the value axis.
    std::pair<QDateTime, QDateTime> DateRange() const;
    std::pair<double, double> ValueRange() const;
    QString ValueTitle() const;

private:
    void fitAxes();

    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace orvx::chart
