#include "OfflineDlg.h"

#include "controls/DtmTextControl.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"

#include <QGridLayout>
#include <QGroupBox>

namespace orvx::views {

namespace {

using framework::PageField;
using enum framework::FieldKind;

// The column's fields are numbered by their control id: caption 900 + id, widget 1000 + id,
// indicator icon 1100 + id, unit label 1200 + id.
constexpr PageField choice(std::int32_t id, const char* caption)
{
    return {.controlId = id,
            .kind = Choice,
            .item = 1000 + id,
            .caption = caption,
            .icon = 1100 + id,
            .captionItem = 900 + id};
}
constexpr PageField entry(std::int32_t id, const char* caption)
{
    PageField field = choice(id, caption);
    field.kind = Text;
    field.unit = 1200 + id;
    return field;
}

constexpr std::int32_t kSupplyLow = 24;
constexpr std::int32_t kSupplyHigh = 25;
constexpr PageField kFields[] = {
    choice(10, "Latch Trips Enabled"),
    choice(11, "Air action"),
    choice(12, "LCD Language"),
    choice(13, "Pressure Unit"),
    choice(14, "Button Lock"),
    choice(15, "Trigger by AI"),
    choice(16, "Trigger by buttons"),
    choice(17, "Trigger by HART"),
    entry(18, "Position Error Band (%)"),
    choice(19, "Position Error Enable"),
    entry(20, "Position Error Time (sec)"),
    entry(21, "Linkage Limit (%)"),
    entry(22, "Valve Stuck Limit (%)"),
    entry(23, "Near Closed (%)"),
    entry(kSupplyLow, "Supply Limit Low"),
    entry(kSupplyHigh, "Supply Limit High"),
};

}  // namespace

COfflineDlg::COfflineDlg() : CResourcePage(282), m_pressureUnit(controls::PressurePsi) {}

std::uint32_t COfflineDlg::ShownPressureUnit() const
{
    return m_pressureUnit.Shown().value_or(controls::PressurePsi);
}

void COfflineDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Offline Parameter"), Surface());
    auto* grid = new QGridLayout(group);
    Fields().AddRows(grid, group, kFields);
    // Fields of a readable width; the room to the right stays empty.
    grid->setColumnStretch(2, 0);
    grid->setColumnMinimumWidth(2, 240);
    grid->setColumnStretch(4, 1);
    BodyLayout()->addWidget(group);
}

void COfflineDlg::CreateControls()
{
    for (std::int32_t id : {kSupplyLow, kSupplyHigh})
        m_pressureUnit.AddEntry(Fields().Get<controls::CDtmTextControl>(id));
}

void COfflineDlg::Activate()
{
    const bool first = !m_shownBefore;
    m_shownBefore = true;
    CResourcePage::Activate();
    if (first)
        followPressureUnit();
}

void COfflineDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed)
        followPressureUnit();
}

void COfflineDlg::followPressureUnit()
{
    // A data set without a readable unit keeps the limits as they are.
    if (const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(), device::tag::PressureUnit))
        m_pressureUnit.Follow(*unit);
}

}  // namespace orvx::views
