#include "DiagChart.h"

#include "TickStep.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

namespace orvx::chart {

namespace {

constexpr int kLineWidth = 2;
constexpr qreal kMarkSize = 6;

// Qt's axes refuse an empty or inverted range; such a range is drawn one unit wide.
std::pair<qreal, qreal> drawable(float low, float high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {0, 1};
    return high > low ? std::pair<qreal, qreal>(low, high) : std::pair<qreal, qreal>(low, qreal(low) + 1);
}

// The range, with its ticks every `step` on round numbers rather than at fixed fractions of it.
void setRange(QValueAxis* axis, double from, double to, double step)
{
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setRange(from, to);
}

// A range as given, its ticks on round numbers within it.
void setRange(QValueAxis* axis, float low, float high)
{
    const auto [from, to] = drawable(low, high);
    setRange(axis, from, to, tickStep(to - from));
}

}  // namespace

QColor colourOf(ColourRef colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

struct CDiagChart::Impl {
    struct Plot {
        QLineSeries* line = nullptr;
        QScatterSeries* marks = nullptr;
        QColor colour;
        int dataPoints = 0;
        bool dashed = false;
    };

    QChart* chart = nullptr;
    QChartView* view = nullptr;
    QValueAxis* x = nullptr;
    QValueAxis* y = nullptr;
    QValueAxis* y2 = nullptr;
    std::array<Plot, kPlotCount> plots;
    ChartRange full;
    ChartRange shown;
    std::pair<float, float> secondRange{0, 120};
    bool secondAxisOn = false;
    bool secondPlotsOn = false;
    int secondAxisPlace = 0;

    Plot* plot(int index)
    {
        return index >= 0 && index < kPlotCount ? &plots[static_cast<std::size_t>(index)] : nullptr;
    }
    const Plot* plot(int index) const { return const_cast<Impl*>(this)->plot(index); }
    bool secondAxisShown() const { return secondAxisOn && secondAxisPlace != 0; }

    void showPlot(int index)
    {
        Plot& p = plots[static_cast<std::size_t>(index)];
        const bool onMainAxes = index < 2 || index >= kFirstReferencePlot;
        const bool drawn = onMainAxes || (secondAxisShown() && secondPlotsOn);
        p.line->setVisible(drawn && p.dataPoints != 2);
        const bool marked = drawn && (p.dataPoints == 1 || p.dataPoints == 2);
        // The marks hold the points only while they are drawn: hidden, a scatter series of
        // thousands of points still costs its share of every load.
        if (marked && p.marks->count() != p.line->count())
            p.marks->replace(p.line->points());
        else if (!marked && p.marks->count() > 0)
            p.marks->clear();
        p.marks->setVisible(marked);
    }
    void showSecondAxis()
    {
        y2->setVisible(secondAxisShown());
        for (int index = 2; index < kFirstReferencePlot; ++index)
            showPlot(index);
    }
    void colour(Plot& p, const QColor& c)
    {
        p.colour = c;
        p.line->setPen(QPen(c, kLineWidth, p.dashed ? Qt::DashLine : Qt::SolidLine));
        p.marks->setColor(c);
        p.marks->setBorderColor(c);
    }
};

CDiagChart::CDiagChart(QWidget* parent) : QWidget(parent), m(std::make_unique<Impl>())
{
    m->chart = new QChart;
    m->chart->setMargins(QMargins(4, 4, 4, 4));
    m->chart->legend()->setVisible(false);
    m->x = new QValueAxis(m->chart);
    m->y = new QValueAxis(m->chart);
    m->y2 = new QValueAxis(m->chart);
    m->chart->addAxis(m->x, Qt::AlignBottom);
    m->chart->addAxis(m->y, Qt::AlignLeft);
    m->chart->addAxis(m->y2, Qt::AlignRight);
    for (QValueAxis* axis : {m->x, m->y, m->y2}) {
        axis->setLabelFormat(QStringLiteral("%g"));
        axis->setTickType(QValueAxis::TicksDynamic);
    }
    m->y2->setGridLineVisible(false);

    // Until the window says otherwise: dark red, red, blue and green, and the reference grey.
    const ColourRef colours[kPlotCount] = {0x000080, 0x0000FF, 0xFF0000, 0x008000, 0x909090, 0xB0B0B0};
    // Series added later are drawn over earlier ones: the reference first.
    for (int index : {4, 5, 0, 1, 2, 3}) {
        Impl::Plot& p = m->plots[static_cast<std::size_t>(index)];
        p.dashed = index >= kFirstReferencePlot;
        p.line = new QLineSeries(m->chart);
        p.marks = new QScatterSeries(m->chart);
        p.marks->setMarkerSize(kMarkSize);
        m->colour(p, colourOf(colours[index]));
        for (QXYSeries* series : {static_cast<QXYSeries*>(p.line), static_cast<QXYSeries*>(p.marks)}) {
            m->chart->addSeries(series);
            series->attachAxis(m->x);
            series->attachAxis(index < 2 || index >= kFirstReferencePlot ? m->y : m->y2);
        }
        m->showPlot(index);
    }
    SetFullRange(0, 100, 0, 100);
    SetSecondAxisRange(0, 120);
    m->showSecondAxis();

    // The view owns the chart.
    m->view = new QChartView(m->chart, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m->view);
}

CDiagChart::~CDiagChart() = default;

void CDiagChart::SetGridShown(bool on)
{
    for (QValueAxis* axis : {m->x, m->y})
        axis->setGridLineVisible(on);
}

void CDiagChart::SetAxisLabelsShown(bool on)
{
    for (QValueAxis* axis : {m->x, m->y, m->y2})
        axis->setLabelsVisible(on);
}

void CDiagChart::SetSmoothLines(bool on)
{
    m->view->setRenderHint(QPainter::Antialiasing, on);
}

void CDiagChart::SetBackgroundColour(ColourRef colour)
{
    m->chart->setBackgroundBrush(colourOf(colour));
    m->chart->setPlotAreaBackgroundBrush(colourOf(colour));
    m->chart->setPlotAreaBackgroundVisible(true);
}

void CDiagChart::SetGridColour(ColourRef colour)
{
    for (QValueAxis* axis : {m->x, m->y, m->y2}) {
        axis->setGridLineColor(colourOf(colour));
        axis->setLinePenColor(colourOf(colour).darker(150));
    }
}

void CDiagChart::SetFullRange(float xLow, float xHigh, float yLow, float yHigh)
{
    m->full = {xLow, xHigh, yLow, yHigh};
    const TickRange x = tickRange(xLow, xHigh);
    const TickRange y = tickRange(yLow, yHigh);
    m->shown = {static_cast<float>(x.low), static_cast<float>(x.high), static_cast<float>(y.low),
                static_cast<float>(y.high)};
    setRange(m->x, x.low, x.high, x.step);
    setRange(m->y, y.low, y.high, y.step);
}

void CDiagChart::SetShownRange(float xLow, float xHigh, float yLow, float yHigh)
{
    m->shown = {xLow, xHigh, yLow, yHigh};
    setRange(m->x, xLow, xHigh);
    setRange(m->y, yLow, yHigh);
}

void CDiagChart::SetSecondAxis(int axisOn, int plotsOn)
{
    m->secondAxisOn = axisOn != 0;
    m->secondPlotsOn = plotsOn != 0;
    m->showSecondAxis();
}

void CDiagChart::LoadPlot(int plot, int count, std::span<const float> x, std::span<const float> y)
{
    Impl::Plot* p = m->plot(plot);
    if (!p)
        return;
    const auto points = static_cast<std::size_t>(std::max(0, count));
    const std::size_t n = std::min({points, x.size(), y.size()});
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i)
        list.append(QPointF(x[i], y[i]));
    p->line->replace(list);
    if (p->marks->isVisible())
        p->marks->replace(list);
}

void CDiagChart::SetPlotColour(int plot, ColourRef colour)
{
    if (Impl::Plot* p = m->plot(plot))
        m->colour(*p, colourOf(colour));
}

void CDiagChart::SetAxisCaptions(const QString& x, const QString& y)
{
    m->x->setTitleText(x);
    m->y->setTitleText(y);
}

void CDiagChart::Redraw()
{
    m->chart->update();
    m->view->viewport()->update();
}

void CDiagChart::LayOut()
{
    if (QGraphicsLayout* layout = m->chart->layout())
        layout->activate();
}

void CDiagChart::SetSecondAxisRange(float low, float high)
{
    m->secondRange = {low, high};
    setRange(m->y2, low, high);
}

void CDiagChart::SetSecondAxisPlace(std::int16_t pixels)
{
    m->secondAxisPlace = pixels;
    m->showSecondAxis();
}

void CDiagChart::SetDataPoints(int plot, int state)
{
    Impl::Plot* p = m->plot(plot);
    if (!p)
        return;
    p->dataPoints = state == 1 || state == 2 ? state : 0;
    m->showPlot(plot);
}

void CDiagChart::SetSecondAxisCaption(const QString& caption)
{
    m->y2->setTitleText(caption);
}

ChartRange CDiagChart::FullRange() const
{
    return m->full;
}

ChartRange CDiagChart::ShownRange() const
{
    return m->shown;
}

std::pair<float, float> CDiagChart::SecondAxisRange() const
{
    return m->secondRange;
}

bool CDiagChart::SecondAxisShown() const
{
    return m->secondAxisShown();
}

int CDiagChart::PointCount(int plot) const
{
    const Impl::Plot* p = m->plot(plot);
    return p ? static_cast<int>(p->line->count()) : 0;
}

QPointF CDiagChart::Point(int plot, int index) const
{
    const Impl::Plot* p = m->plot(plot);
    return p && index >= 0 && index < p->line->count() ? p->line->at(index) : QPointF();
}

QColor CDiagChart::PlotColour(int plot) const
{
    const Impl::Plot* p = m->plot(plot);
    return p ? p->colour : QColor();
}

bool CDiagChart::PlotDashed(int plot) const
{
    const Impl::Plot* p = m->plot(plot);
    return p && p->dashed;
}

int CDiagChart::DataPoints(int plot) const
{
    const Impl::Plot* p = m->plot(plot);
    return p ? p->dataPoints : 0;
}

QString CDiagChart::XCaption() const
{
    return m->x->titleText();
}

QString CDiagChart::YCaption() const
{
    return m->y->titleText();
}

QString CDiagChart::SecondAxisCaption() const
{
    return m->y2->titleText();
}

std::pair<double, double> CDiagChart::TickSteps() const
{
    return {m->x->tickInterval(), m->y->tickInterval()};
}

void CDiagChart::Paint(QPainter& painter, const QRectF& target, QSize layout) const
{
    // Lay the chart out for that size, draw it, and give the view its own size back.
    const QRectF own = m->chart->geometry();
    m->chart->setGeometry(QRectF(QPointF(0, 0), layout));
    m->chart->layout()->activate();
    m->view->scene()->render(&painter, target, m->chart->geometry());
    m->chart->setGeometry(own);
    m->chart->layout()->activate();
}

QImage CDiagChart::Render(QSize size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, m->view->renderHints().testFlag(QPainter::Antialiasing));
    Paint(painter, QRectF(QPointF(0, 0), size), size);
    return image;
}

}  // namespace orvx::chart
