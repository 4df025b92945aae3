#include "HistoryChart.h"

#include "platform/ui/Clock.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvx::chart {

namespace {

qreal msecs(const QDateTime& when)
{
    return static_cast<qreal>(when.toMSecsSinceEpoch());
}

}  // namespace

struct CHistoryChart::Impl {
    QChart* chart = nullptr;
    QDateTimeAxis* dates = nullptr;
    QValueAxis* values = nullptr;
    struct Series {
        QLineSeries* line;
        QScatterSeries* failed;
    };
    std::vector<Series> series;
    std::vector<std::pair<QLineSeries*, double>> limits;
    QLineSeries* trend = nullptr;

    void attach(QAbstractSeries* s)
    {
        chart->addSeries(s);
        s->attachAxis(dates);
        s->attachAxis(values);
    }
    // Every moment and value drawn, so that the axes take them all in.
    void extent(qreal& x0, qreal& x1, double& y0, double& y1, bool& any) const
    {
        const auto take = [&](const QPointF& p) {
            x0 = any ? std::min(x0, p.x()) : p.x();
            x1 = any ? std::max(x1, p.x()) : p.x();
            y0 = any ? std::min(y0, p.y()) : p.y();
            y1 = any ? std::max(y1, p.y()) : p.y();
            any = true;
        };
        for (const Series& s : series)
            for (const QPointF& p : s.line->points())
                take(p);
        if (trend)
            for (const QPointF& p : trend->points())
                take(p);
        for (const auto& [line, value] : limits) {
            y0 = any ? std::min(y0, value) : value;
            y1 = any ? std::max(y1, value) : value;
        }
    }
};

CHistoryChart::CHistoryChart(QWidget* parent) : QWidget(parent), m(std::make_unique<Impl>())
{
    m->chart = new QChart;
    m->chart->setMargins(QMargins(4, 4, 4, 4));
    m->dates = new QDateTimeAxis(m->chart);
    m->dates->setFormat(QStringLiteral("yyyy-MM"));
    m->dates->setTickCount(7);
    m->values = new QValueAxis(m->chart);
    m->values->setLabelFormat(QStringLiteral("%g"));
    m->chart->addAxis(m->dates, Qt::AlignBottom);
    m->chart->addAxis(m->values, Qt::AlignLeft);
    m->chart->legend()->setAlignment(Qt::AlignBottom);

    // The view owns the chart.
    auto* view = new QChartView(m->chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    fitAxes();
}

CHistoryChart::~CHistoryChart() = default;

void CHistoryChart::Clear()
{
    m->chart->removeAllSeries();  // deletes them
    m->series.clear();
    m->limits.clear();
    m->trend = nullptr;
    fitAxes();
}

int CHistoryChart::AddSeries(const QString& name, const QColor& colour, std::span<const Point> points)
{
    auto* line = new QLineSeries(m->chart);
    line->setName(name);
    line->setPen(QPen(colour, 2));
    line->setPointsVisible(true);
    auto* failed = new QScatterSeries(m->chart);
    failed->setName(QStringLiteral("failed test"));
    failed->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
    failed->setMarkerSize(13);
    failed->setColor(QColor(0xd0, 0x10, 0x10));
    failed->setBorderColor(QColor(0x70, 0, 0));
    for (const Point& p : points) {
        line->append(msecs(p.when), p.value);
        if (p.failed)
            failed->append(msecs(p.when), p.value);
    }
    m->attach(line);
    m->attach(failed);
    // A legend entry for failed tests only where there are some.
    if (failed->count() == 0)
        m->chart->legend()->markers(failed).value(0)->setVisible(false);
    m->series.push_back({line, failed});
    fitAxes();
    return static_cast<int>(m->series.size()) - 1;
}

void CHistoryChart::AddLimit(const QString& name, double value, const QColor& colour)
{
    auto* line = new QLineSeries(m->chart);
    line->setName(name);
    line->setPen(QPen(colour, 1.5, Qt::DashLine));
    m->attach(line);
    m->limits.emplace_back(line, value);
    fitAxes();
}

void CHistoryChart::SetTrend(const QString& name, const Point& from, const Point& to)
{
    if (!m->trend) {
        m->trend = new QLineSeries(m->chart);
        m->trend->setPen(QPen(QColor(0x60, 0x60, 0x60), 1.5, Qt::DotLine));
        m->attach(m->trend);
    }
    m->trend->setName(name);
    m->trend->replace({QPointF(msecs(from.when), from.value), QPointF(msecs(to.when), to.value)});
    fitAxes();
}

void CHistoryChart::SetValueTitle(const QString& title)
{
    m->values->setTitleText(title);
}

void CHistoryChart::fitAxes()
{
    qreal x0 = 0;
    qreal x1 = 0;
    double y0 = 0;
    double y1 = 0;
    bool any = false;
    m->extent(x0, x1, y0, y1, any);
    if (!any) {
        const QDateTime now = ui::currentDateTime();
        m->dates->setRange(now.addMonths(-6), now);
        m->values->setRange(0, 1);
        return;
    }
    // A little room around the points, a month at least either side.
    const qreal month = 30.0 * 86400.0 * 1000.0;
    const qreal pad = std::max(month, (x1 - x0) * 0.04);
    m->dates->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x0 - pad)),
                       QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(x1 + pad)));
    const double span = y1 - y0;
    const double room = span > 0 ? span * 0.1 : std::max(1.0, std::abs(y0) * 0.1);
    m->values->setRange(std::min(0.0, y0 - room), y1 + room);
    m->values->applyNiceNumbers();
    // Limit lines run across the whole date axis.
    for (auto& [line, value] : m->limits)
        line->replace({QPointF(x0 - pad, value), QPointF(x1 + pad, value)});
}

int CHistoryChart::SeriesCount() const
{
    return static_cast<int>(m->series.size());
}

int CHistoryChart::PointCount(int series) const
{
    return series >= 0 && series < SeriesCount()
               ? static_cast<int>(m->series[static_cast<std::size_t>(series)].line->count())
               : 0;
}

int CHistoryChart::FailedCount(int series) const
{
    return series >= 0 && series < SeriesCount()
               ? static_cast<int>(m->series[static_cast<std::size_t>(series)].failed->count())
               : 0;
}

int CHistoryChart::LimitCount() const
{
    return static_cast<int>(m->limits.size());
}

double CHistoryChart::LimitValue(int limit) const
{
    return limit >= 0 && limit < LimitCount() ? m->limits[static_cast<std::size_t>(limit)].second : 0.0;
}

Qt::PenStyle CHistoryChart::LimitStyle(int limit) const
{
    return limit >= 0 && limit < LimitCount() ? m->limits[static_cast<std::size_t>(limit)].first->pen().style()
                                              : Qt::NoPen;
}

bool CHistoryChart::HasTrend() const
{
    return m->trend != nullptr;
}

std::pair<QDateTime, QDateTime> CHistoryChart::DateRange() const
{
    return {m->dates->min(), m->dates->max()};
}

std::pair<double, double> CHistoryChart::ValueRange() const
{
    return {m->values->min(), m->values->max()};
}

QString CHistoryChart::ValueTitle() const
{
    return m->values->titleText();
}

}  // namespace orvx::chart
