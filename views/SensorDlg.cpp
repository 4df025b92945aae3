#include "SensorDlg.h"

#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

namespace orvx::views {

namespace {

using framework::kUnnumbered;
using framework::PageField;
using enum framework::FieldKind;

// A read-only measurement; a unit label without a number takes its text from the settings.
constexpr PageField measured(std::int32_t id, int item, const char* caption, int unit = kUnnumbered)
{
    return {.controlId = id, .kind = Text, .item = item, .caption = caption, .unit = unit};
}

constexpr PageField kMeasured[] = {
    measured(10, 206, "Input signal"),
    measured(11, 208, "Valve position"),
    measured(12, 209, "Retransmitter range high"),
    measured(13, 210, "Retransmitter range low"),
    measured(14, 211, "Actuator pressure 1", 338),
    measured(15, 213, "Actuator pressure 2", 339),
    measured(16, 214, "Supply pressure", 340),
    measured(17, 215, "Pilot pressure", 341),
    measured(18, 221, "Board temperature"),
    measured(19, 222, "Minimum temperature"),
    measured(20, 223, "Maximum temperature"),
};
constexpr PageField kRaw[] = {
    measured(21, 224, "Raw signal"),         measured(22, 225, "Raw position"),
    measured(23, 226, "Raw pressure 1"),     {.controlId = 24, .kind = Choice, .item = 289, .caption = "Open / Close"},
    measured(25, 227, "Lower stop"),         measured(26, 228, "Upper stop"),
    measured(27, 229, "I/P output"),         measured(28, 230, "I/P current"),
    measured(29, 231, "Raw pressure 2"),     measured(30, 232, "Raw supply pressure"),
    measured(31, 233, "Raw pilot pressure"),
};
constexpr std::int32_t kFirstPressure = 14;
constexpr std::int32_t kLastPressure = 17;

}  // namespace

CSensorDlg::CSensorDlg() : CResourcePage(241) {}

void CSensorDlg::InitDialog()
{
    auto* columns = new QHBoxLayout;
    for (const auto& [title, fields] : {std::pair{"Measurements", std::span<const PageField>(kMeasured)},
                                        std::pair{"Raw values", std::span<const PageField>(kRaw)}}) {
        auto* group = new QGroupBox(QString::fromLatin1(title), Surface());
        auto* grid = new QGridLayout(group);
        Fields().AddRows(grid, group, fields);
        grid->setRowStretch(grid->rowCount(), 1);
        columns->addWidget(group);
    }
    BodyLayout()->addLayout(columns);
}

void CSensorDlg::CreateControls()
{
    for (std::int32_t id = kFirstPressure; id <= kLastPressure; ++id)
        m_pressureUnit.AddLabel(Fields().Get<controls::CDtmTextControl>(id));
}

void CSensorDlg::Activate()
{
    CResourcePage::Activate();
    followPressureUnit();
}

void CSensorDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed)
        followPressureUnit();
    if (code == device::code::NewValues)
        RefreshControls(-1);
}

void CSensorDlg::followPressureUnit()
{
    // A unit the device cannot tell leaves the labels as they are.
    if (const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(), device::tag::MeasuredPressureUnit))
        m_pressureUnit.Follow(*unit);
}

}  // namespace orvx::views
