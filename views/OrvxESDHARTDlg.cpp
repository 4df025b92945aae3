#include "OrvxESDHARTDlg.h"

#include "controls/DtmProgressBarControl.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/Resources.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace orvx::views {

namespace {

constexpr int kTrippedItem = 286;
constexpr int kTrippedImage = 300;
constexpr int kNotTrippedImage = 301;

using enum framework::FieldKind;
constexpr framework::PageField kBars[] = {
    {.controlId = 10, .kind = Bar, .item = 208, .caption = "Input signal", .value = 233, .low = 234, .high = 235},
    {.controlId = 11, .kind = Bar, .item = 209, .caption = "Valve position", .value = 236, .low = 237, .high = 238},
    {.controlId = 12, .kind = Bar, .item = 210, .caption = "Pressure", .value = 239, .low = 240, .high = 241},
    {.controlId = 13, .kind = Bar, .item = 211, .caption = "Supply pressure", .value = 242, .low = 243, .high = 244},
};
// The signal and position bars have fixed ends; the pressure bars' ends follow the device's unit.
struct FixedEnds {
    std::int32_t controlId;
    const char* low;
    const char* high;
};
constexpr FixedEnds kFixedEnds[] = {{10, "4 mA", "20 mA"}, {11, "0 %", "100 %"}};
constexpr std::int32_t kPressureBars[] = {12, 13};

}  // namespace

COrvxESDHARTDlg::COrvxESDHARTDlg() : CResourcePage(220) {}

void COrvxESDHARTDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Live values"), Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const framework::PageField& bar : kBars) {
        const framework::FieldWidgets& w = Fields().Make(group, bar);
        grid->addWidget(w.caption, row, 0);
        grid->addWidget(w.low, row, 1);
        grid->addWidget(w.field, row, 2);
        grid->addWidget(w.high, row, 3);
        grid->addWidget(w.value, row, 4);
        ++row;
    }
    for (const FixedEnds& ends : kFixedEnds) {
        const framework::FieldWidgets* w = Fields().Widgets(ends.controlId);
        w->low->setText(QString::fromLatin1(ends.low));
        w->high->setText(QString::fromLatin1(ends.high));
    }
    grid->setColumnStretch(2, 1);
    BodyLayout()->addWidget(group);

    auto* esd = new QHBoxLayout;
    m_tripped = ui::makeItem<QLabel>(Surface(), kTrippedItem);
    esd->addWidget(m_tripped);
    esd->addWidget(new QLabel(QStringLiteral("ESD Tripped"), Surface()));
    esd->addStretch(1);
    BodyLayout()->addLayout(esd);
}

void COrvxESDHARTDlg::CreateControls()
{
    for (std::int32_t id : kPressureBars) {
        auto* bar = Fields().Get<controls::CDtmProgressBarControl>(id);
        m_pressureUnit.AddView([bar](std::uint32_t unit) {
            const int high = unit == controls::PressureBar ? 10 : unit == controls::PressureKpa ? 1000 : 150;
            bar->SetRangeAndUnit(controls::pressureUnitName(unit), 0, high);
        });
    }
}

void COrvxESDHARTDlg::Activate()
{
    CResourcePage::Activate();
    followDevice();
}

void COrvxESDHARTDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    // The unit first, so that the values refreshed next show with it.
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed || code == device::code::NewValues)
        followDevice();
    if (code == device::code::NewValues)
        RefreshControlRange(10, 13);
}

std::optional<bool> COrvxESDHARTDlg::ShownTripped() const
{
    if (!m_trippedValue)
        return std::nullopt;
    return *m_trippedValue != QLatin1String("0");
}

void COrvxESDHARTDlg::followDevice()
{
    framework::IUIController* controller = Controller();
    // A device that cannot tell its unit or its ESD state leaves the page as it was.
    const auto unit = controls::CPressureUnitFollower::ReadUnit(controller, device::tag::MeasuredPressureUnit);
    if (!unit)
        return;
    m_pressureUnit.Follow(*unit);
    try {
        const QString tripped = host::variantText(controller->GetParameterValue(device::tag::EsdTripped));
        if (tripped != m_trippedValue) {
            m_trippedValue = tripped;
            m_tripped->setPixmap(ui::bitmapResource(*ShownTripped() ? kTrippedImage : kNotTrippedImage));
        }
    } catch (const std::exception&) {
        // The image stays as it was.
    }
}

}  // namespace orvx::views
