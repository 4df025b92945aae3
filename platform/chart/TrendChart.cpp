#include "TrendChart.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

#include <vector>

namespace orvx::chart {

struct CTrendChart::Impl {
    QChart* chart = nullptr;
    QValueAxis* time = nullptr;
    QValueAxis* left = nullptr;
    QValueAxis* right = nullptr;
    std::vector<QLineSeries*> series;

    QValueAxis* axis(Axis which) const { return which == Axis::Time ? time : which == Axis::Left ? left : right; }
    QLineSeries* at(int index) const
    {
        return index >= 0 && static_cast<std::size_t>(index) < series.size() ? series[static_cast<std::size_t>(index)]
                                                                             : nullptr;
    }
};

CTrendChart::CTrendChart(QWidget* parent) : QWidget(parent), m(std::make_unique<Impl>())
{
    m->chart = new QChart;
    m->chart->setMargins(QMargins(4, 4, 4, 4));
    m->time = new QValueAxis(m->chart);
    m->left = new QValueAxis(m->chart);
    m->right = new QValueAxis(m->chart);
    m->chart->addAxis(m->time, Qt::AlignBottom);
    m->chart->addAxis(m->left, Qt::AlignLeft);
    m->chart->addAxis(m->right, Qt::AlignRight);
    for (QValueAxis* axis : {m->time, m->left, m->right})
        axis->setLabelFormat(QStringLiteral("%g"));

    // The view owns the chart.
    auto* view = new QChartView(m->chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

CTrendChart::~CTrendChart() = default;

int CTrendChart::AddSeries(const QColor& colour, Axis valueAxis)
{
    auto* series = new QLineSeries(m->chart);
    series->setPen(QPen(colour, 2));
    m->chart->addSeries(series);
    series->attachAxis(m->time);
    series->attachAxis(valueAxis == Axis::Right ? m->right : m->left);
    m->series.push_back(series);
    return static_cast<int>(m->series.size()) - 1;
}

void CTrendChart::AppendPoint(int series, double time, double value)
{
    if (QLineSeries* s = m->at(series))
        s->append(time, value);
}

void CTrendChart::RemoveFirstPoints(int series, int count)
{
    QLineSeries* s = m->at(series);
    if (!s || count <= 0)
        return;
    s->removePoints(0, std::min(count, static_cast<int>(s->count())));
}

int CTrendChart::PointCount(int series) const
{
    const QLineSeries* s = m->at(series);
    return s ? static_cast<int>(s->count()) : 0;
}

QPointF CTrendChart::Point(int series, int index) const
{
    const QLineSeries* s = m->at(series);
    return s && index >= 0 && index < s->count() ? s->at(index) : QPointF();
}

void CTrendChart::SetRange(Axis axis, double low, double high)
{
    m->axis(axis)->setRange(low, high);
}

std::pair<double, double> CTrendChart::Range(Axis axis) const
{
    const QValueAxis* a = m->axis(axis);
    return {a->min(), a->max()};
}

void CTrendChart::SetTitle(Axis axis, const QString& title)
{
    m->axis(axis)->setTitleText(title);
}

QString CTrendChart::Title(Axis axis) const
{
    return m->axis(axis)->titleText();
}

void CTrendChart::SetBackground(const QColor& colour)
{
    m->chart->setBackgroundBrush(colour);
}

void CTrendChart::SetLegendVisible(bool visible)
{
    m->chart->legend()->setVisible(visible);
}

}  // namespace orvx::chart
