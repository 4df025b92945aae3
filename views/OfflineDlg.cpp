#include "OfflineDlg.h"

#include "controls/Conversions.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/DtmTextControl.h"
#include "controls/PressureUnit.h"
#include "framework/IUIController.h"
#include "platform/ui/DialogItems.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orvx::views {

namespace {

// One field of the column: its control id, caption and whether it is a choice. The field's
// caption is item 900 + id, its widget 1000 + id, its indicator icon 1100 + id, its unit label
// 1200 + id.
struct Field {
    std::int32_t controlId;
    const char* caption;
    bool choice;
};
constexpr Field kFields[] = {
    {10, "Latch Trips Enabled", true},
    {11, "Air action", true},
    {12, "LCD Language", true},
    {13, "Pressure Unit", true},
    {14, "Button Lock", true},
    {15, "Trigger by AI", true},
    {16, "Trigger by buttons", true},
    {17, "Trigger by HART", true},
    {18, "Position Error Band (%)", false},
    {19, "Position Error Enable", true},
    {20, "Position Error Time (sec)", false},
    {21, "Linkage Limit (%)", false},
    {22, "Valve Stuck Limit (%)", false},
    {23, "Near Closed (%)", false},
    {24, "Supply Limit Low", false},
    {25, "Supply Limit High", false},
};
constexpr std::int32_t kSupplyLimits[] = {24, 25};

constexpr int captionItem(std::int32_t id) { return 900 + id; }
constexpr int fieldItem(std::int32_t id) { return 1000 + id; }
constexpr int iconItem(std::int32_t id) { return 1100 + id; }
constexpr int unitItem(std::int32_t id) { return 1200 + id; }

}  // namespace

COfflineDlg::COfflineDlg() : CResourcePage(282), m_pressureUnit(controls::PressurePsi) {}

void COfflineDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Offline Parameter"), Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Field& f : kFields) {
        auto* caption = ui::makeItem<QLabel>(group, captionItem(f.controlId));
        caption->setText(QString::fromLatin1(f.caption));
        grid->addWidget(caption, row, 0);
        grid->addWidget(ui::makeItem<QLabel>(group, iconItem(f.controlId)), row, 1);
        if (f.choice) {
            grid->addWidget(ui::makeItem<QComboBox>(group, fieldItem(f.controlId)), row, 2);
        } else {
            grid->addWidget(ui::makeItem<QLineEdit>(group, fieldItem(f.controlId)), row, 2);
            grid->addWidget(ui::makeItem<QLabel>(group, unitItem(f.controlId)), row, 3);
        }
        ++row;
    }
    // Fields of a readable width; the room to the right stays empty.
    grid->setColumnMinimumWidth(2, 240);
    grid->setColumnMinimumWidth(3, 30);
    grid->setColumnStretch(4, 1);
    BodyLayout()->addWidget(group);
}

void COfflineDlg::CreateControls()
{
    for (const Field& f : kFields) {
        auto* icon = ui::dialogItem<QLabel>(Surface(), iconItem(f.controlId));
        if (f.choice) {
            auto combo = std::make_unique<controls::CDtmComboBoxControl>(f.controlId, this, Controller());
            combo->Attach(ui::dialogItem<QLabel>(Surface(), captionItem(f.controlId)), icon,
                          ui::dialogItem<QComboBox>(Surface(), fieldItem(f.controlId)), nullptr);
            RegisterControl(std::move(combo));
        } else {
            auto text = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
            text->Attach(icon, ui::dialogItem<QLineEdit>(Surface(), fieldItem(f.controlId)),
                         ui::dialogItem<QLabel>(Surface(), unitItem(f.controlId)));
            RegisterControl(std::move(text));
        }
    }
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
    if (code == 501 || code == 502)
        followPressureUnit();
}

void COfflineDlg::followPressureUnit()
{
    framework::IUIController* controller = Controller();
    if (!controller)
        return;
    std::uint32_t unit = 0;
    try {
        unit = controller->GetParameterValue(QStringLiteral("4003")).toUInt32();
    } catch (const std::exception&) {
        return;  // a data set without a readable unit keeps the limits as they are
    }
    if (unit == m_pressureUnit)
        return;
    for (std::int32_t id : kSupplyLimits) {
        auto* field = dynamic_cast<controls::CDtmTextControl*>(Control(id));
        if (!field)
            continue;
        // A field showing the data set's value was refreshed in the new unit already (the
        // business object keeps its pressures in the unit of "4003"); converting it again
        // would scale it twice. Only an entry the user has not sent yet is still in the old
        // unit.
        auto* edit = qobject_cast<QLineEdit*>(field->GetEditWindow());
        if (field->IsModified() && edit) {
            try {
                const double value = controls::CConversions::to_double(edit->text());
                const double converted = controls::convertPressure(value, m_pressureUnit, unit);
                const bool typed = edit->isModified();
                edit->setText(controls::CConversions::from_double(converted, controls::pressureDecimals(unit)));
                // Still the user's entry: it is sent when the field is left, as before.
                edit->setModified(typed);
            } catch (const std::exception&) {
                // An entry that is no number stays as typed; its validator reports it.
            }
        }
        field->SetUnitText(controls::pressureUnitName(unit));
        field->SetValidatorUnit(unit);
    }
    m_pressureUnit = unit;
}

}  // namespace orvx::views
