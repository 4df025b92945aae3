#include "ConfigurationDlg.h"

#include "controls/Conversions.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

constexpr framework::PageField kReset = {.controlId = 10,
                                         .kind = framework::FieldKind::Button,
                                         .item = 213,
                                         .caption = "Reset Basic Config and Cal To Defaults"};

// The PST pressures a reset leaves in the unit that was configured before it.
constexpr QLatin1StringView kPressureTags[] = {device::tag::PstMinimumPressure, device::tag::PstFrictionLow,
                                               device::tag::PstFrictionHigh, device::tag::PstBreakout,
                                               device::tag::PstDroop};

}  // namespace

void CConfigurationDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Defaults"), Surface());
    auto* column = new QVBoxLayout(group);
    column->addWidget(Fields().Make(group, kReset).field, 0, Qt::AlignLeft);
    BodyLayout()->addWidget(group);
}

void CConfigurationDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code != device::code::resultOf(device::method::Reset))
        return;
    RefreshControls(-1);
    rewritePressuresInPsi();
}

void CConfigurationDlg::rewritePressuresInPsi()
{
    framework::IUIController* controller = Controller();
    try {
        const std::uint32_t unit = controller->GetParameterValue(device::tag::PressureUnit).toUInt32();
        if (unit == controls::PressurePsi)
            return;
        for (const QLatin1StringView tag : kPressureTags) {
            const QString name = tag;
            const double value = controls::CConversions::to_double(
                device::variantText(controller->GetParameterValue(name)));
            const double psi = controls::convertPressure(value, unit, controls::PressurePsi);
            controller->SetParameterValue(name, device::textVariant(QString::number(psi, 'f', 1)));
        }
    } catch (const std::exception&) {
        // A value that cannot be read, converted or written ends the rewrite there.
    }
}

}  // namespace orvx::views
