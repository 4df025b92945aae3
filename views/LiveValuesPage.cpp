#include "LiveValuesPage.h"

#include "controls/DtmProgressBarControl.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr std::int32_t kFirstBar = 10;
constexpr std::int32_t kLastBar = 13;

// The signal and position bars have fixed ends; the pressure bars' ends follow the device's unit.
struct FixedEnds {
    std::int32_t controlId;
    const char* low;
    const char* high;
};
constexpr FixedEnds kFixedEnds[] = {{10, "4 mA", "20 mA"}, {11, "0 %", "100 %"}};
constexpr std::int32_t kPressureBars[] = {12, 13};

}  // namespace

QGroupBox* CLiveValuesPage::AddBars(const QString& title, std::span<const framework::PageField> bars)
{
    auto* group = new QGroupBox(title, Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const framework::PageField& bar : bars) {
        const framework::FieldWidgets& w = Fields().Make(group, bar);
        grid->addWidget(w.caption, row, 0);
        if (w.low)
            grid->addWidget(w.low, row, 1);
        grid->addWidget(w.field, row, 2);
        if (w.high)
            grid->addWidget(w.high, row, 3);
        grid->addWidget(w.value, row, 4);
        ++row;
    }
    for (const FixedEnds& ends : kFixedEnds) {
        const framework::FieldWidgets* w = Fields().Widgets(ends.controlId);
        if (w && w->low)
            w->low->setText(QString::fromLatin1(ends.low));
        if (w && w->high)
            w->high->setText(QString::fromLatin1(ends.high));
    }
    grid->setColumnStretch(2, 1);
    BodyLayout()->addWidget(group);
    return group;
}

void CLiveValuesPage::CreateControls()
{
    for (std::int32_t id : kPressureBars) {
        auto* bar = Fields().Get<controls::CDtmProgressBarControl>(id);
        if (!bar)
            continue;
        m_pressureUnit.AddView([bar](std::uint32_t unit) {
            const int high = unit == controls::PressureBar ? 10 : unit == controls::PressureKpa ? 1000 : 150;
            bar->SetRangeAndUnit(controls::pressureUnitName(unit), 0, high);
        });
    }
}

void CLiveValuesPage::Activate()
{
    CResourcePage::Activate();
    FollowDevice();
}

void CLiveValuesPage::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    // The unit first, so that the values refreshed next show with it.
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed || code == device::code::NewValues)
        FollowDevice();
    if (code == device::code::NewValues)
        RefreshControlRange(kFirstBar, kLastBar);
}

bool CLiveValuesPage::FollowPressureUnit()
{
    const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(),
                                                                device::tagText<device::tag::MeasuredPressureUnit>());
    if (unit)
        m_pressureUnit.Follow(*unit);
    return unit.has_value();
}

}  // namespace orvx::views
