#include "TrendDlg.h"

#include "controls/Conversions.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "platform/chart/TrendChart.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/Resources.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <cmath>

namespace orvx::views {

namespace {

using chart::CTrendChart;

constexpr int kChartItem = 211;
constexpr int kSignalItem = 213;
constexpr int kUnitItem = 348;

// Chart series, in the order they are added.
enum Series { SignalSeries, PositionSeries, PressureSeries };

// A reading of this size or more is the device's out-of-range marker, not a value.
constexpr double kLargestValue = 99999;
constexpr double kWindowSeconds = 180;
constexpr double kScrollSeconds = 60;

QLabel* itemLabel(QWidget* parent, int item, const QString& text = {})
{
    auto* label = ui::makeItem<QLabel>(parent, item);
    label->setText(text);
    return label;
}

// The legend mark of a series: the icon resource drawn beside its name.
QLabel* legendMark(QWidget* parent, int iconResource)
{
    auto* mark = new QLabel(parent);
    mark->setPixmap(ui::iconPixmap(iconResource, QSize(16, 16)));
    return mark;
}

using enum framework::FieldKind;
constexpr framework::PageField kPosition = {.controlId = 11, .kind = Label, .item = 208};
constexpr framework::PageField kPressure = {.controlId = 12, .kind = Label, .item = 210};

double number(framework::IUIController& controller, QLatin1StringView tag)
{
    return controls::CConversions::to_double(device::variantText(controller.GetParameterValue(tag)));
}

}  // namespace

CTrendDlg::CTrendDlg() : CResourcePage(270) {}

void CTrendDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Trend"), Surface());
    auto* grid = new QGridLayout(group);
    // The signal is written by the page; position and pressure are data-bound.
    m_signal = itemLabel(group, kSignalItem);
    m_unit = itemLabel(group, kUnitItem, QStringLiteral("psi"));
    struct Row {
        int icon;
        const char* name;
        QLabel* value;
        QLabel* unit;
    };
    const Row rows[] = {
        {271, "Signal SetPoint", m_signal, new QLabel(QStringLiteral("%"), group)},
        {272, "Valve Position", Fields().Make(group, kPosition).as<QLabel>(), new QLabel(QStringLiteral("%"), group)},
        {273, "Pressure", Fields().Make(group, kPressure).as<QLabel>(), m_unit},
    };
    int row = 0;
    for (const Row& r : rows) {
        grid->addWidget(legendMark(group, r.icon), row, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(r.name), group), row, 1);
        QLabel* value = r.value;
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(60);
        grid->addWidget(value, row, 2);
        grid->addWidget(r.unit, row, 3);
        ++row;
    }
    grid->setColumnStretch(4, 1);

    m_chart = new CTrendChart(group);
    m_chart->setObjectName(ui::itemName(kChartItem));
    m_chart->setMinimumHeight(320);
    m_chart->SetBackground(QColor(192, 192, 192));
    m_chart->SetLegendVisible(false);
    m_chart->AddSeries(QColor(0, 0, 255), CTrendChart::Axis::Left);
    m_chart->AddSeries(QColor(0, 0, 0), CTrendChart::Axis::Left);
    m_chart->AddSeries(QColor(255, 0, 0), CTrendChart::Axis::Right);
    m_chart->SetRange(CTrendChart::Axis::Time, 0, m_timeEnd);
    m_chart->SetTitle(CTrendChart::Axis::Time, QStringLiteral("Time"));
    m_chart->SetRange(CTrendChart::Axis::Left, 0, 120);
    m_chart->SetTitle(CTrendChart::Axis::Left, QStringLiteral("%"));
    grid->addWidget(m_chart, row, 0, 1, 5);
    BodyLayout()->addWidget(group);
}

void CTrendDlg::CreateControls()
{
    m_pressureUnit.AddView([this](std::uint32_t unit) { applyPressureUnit(unit); });
}

void CTrendDlg::LoadViewSetting()
{
    CResourcePage::LoadViewSetting();
    followPressureUnit();
}

void CTrendDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed)
        followPressureUnit();
    else if (code == device::code::NewValues)
        takeSample();
}

void CTrendDlg::RefreshControls(std::int32_t controlId)
{
    CResourcePage::RefreshControls(controlId);
    if (controlId != -1)
        return;
    try {
        m_signal->setText(controls::CConversions::from_double(signalPercent(), 2));
    } catch (const std::exception&) {
        // An unreadable signal leaves the number shown before.
    }
}

double CTrendDlg::signalPercent()
{
    return (number(*Controller(), device::tag::InputSignal) - 4) * 100 * 0.0625;
}

void CTrendDlg::followPressureUnit()
{
    // A unit that cannot be read leaves the axis in the unit it shows.
    if (const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(), device::tag::MeasuredPressureUnit))
        m_pressureUnit.Follow(*unit);
}

void CTrendDlg::applyPressureUnit(std::uint32_t unit)
{
    const double high = unit == controls::PressureBar ? 10 : unit == controls::PressureKpa ? 1000 : 100;
    const QString name = controls::pressureUnitName(unit);
    m_chart->SetRange(CTrendChart::Axis::Right, 0, high);
    m_chart->SetTitle(CTrendChart::Axis::Right, name);
    m_unit->setText(name);
}

void CTrendDlg::takeSample()
{
    RefreshControlRange(11, 12);
    float signal = 0;
    float position = 0;
    float pressure = 0;
    try {
        const double percent = signalPercent();
        signal = static_cast<float>(percent);
        position = static_cast<float>(number(*Controller(), device::tag::Position));
        pressure = static_cast<float>(number(*Controller(), device::tag::Pressure));
        // The number above the chart follows the samples, as the other two do.
        m_signal->setText(controls::CConversions::from_double(percent, 2));
    } catch (const std::exception&) {
        return;  // a value that is no number adds no sample
    }
    addSample(signal, position, pressure);
}

void CTrendDlg::addSample(float signal, float position, float pressure)
{
    for (float value : {signal, position, pressure})
        if (!(std::fabs(value) <= kLargestValue))
            return;

    const std::int64_t now = ui::steadyClock().milliseconds();
    float time = 0;
    if (!m_firstTick) {
        m_firstTick = now;
    } else {
        // As a 32-bit tick difference, so that a wrapped counter still gives the span.
        const std::uint32_t elapsed = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(*m_firstTick);
        time = static_cast<float>(elapsed / 1000.0);
    }
    m_samples.time.push_back(time);
    m_samples.signal.push_back(signal);
    m_samples.position.push_back(position);
    m_samples.pressure.push_back(pressure);
    m_chart->AppendPoint(SignalSeries, time, signal);
    m_chart->AppendPoint(PositionSeries, time, position);
    m_chart->AppendPoint(PressureSeries, time, pressure);

    if (time <= m_timeEnd)
        return;
    // Scroll in steps of a minute, as many as bring the sample into view after a long gap.
    m_timeEnd += kScrollSeconds * std::ceil((time - m_timeEnd) / kScrollSeconds);
    const double start = m_timeEnd - kWindowSeconds;
    std::size_t old = 0;
    while (old < m_samples.time.size() && m_samples.time[old] < start)
        ++old;
    if (old > 0) {
        const auto cut = static_cast<std::ptrdiff_t>(old);
        for (std::vector<float>* values :
             {&m_samples.time, &m_samples.signal, &m_samples.position, &m_samples.pressure})
            values->erase(values->begin(), values->begin() + cut);
        for (int series : {SignalSeries, PositionSeries, PressureSeries})
            m_chart->RemoveFirstPoints(series, static_cast<int>(old));
    }
    m_chart->SetRange(CTrendChart::Axis::Time, start, m_timeEnd);
}

}  // namespace orvx::views
