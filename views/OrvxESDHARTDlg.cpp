#include "OrvxESDHARTDlg.h"

#include "controls/DtmProgressBarControl.h"
#include "controls/PressureUnit.h"
#include "framework/IUIController.h"
#include "host/StringBridge.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/Resources.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

namespace orvx::views {

namespace {

constexpr int kTrippedItem = 286;
constexpr int kTrippedImage = 300;
constexpr int kNotTrippedImage = 301;

// One live bar: control id, caption, the bar's item and its value, low and high label items,
// and the fixed texts of its ends. The pressure bars have none: their ends follow the device's
// pressure unit.
struct Bar {
    std::int32_t controlId;
    const char* caption;
    int bar, value, low, high;
    const char* lowText;
    const char* highText;
};
constexpr Bar kBars[] = {
    {10, "Input signal", 208, 233, 234, 235, "4 mA", "20 mA"},
    {11, "Valve position", 209, 236, 237, 238, "0 %", "100 %"},
    {12, "Pressure", 210, 239, 240, 241, nullptr, nullptr},
    {13, "Supply pressure", 211, 242, 243, 244, nullptr, nullptr},
};

QLabel* endLabel(QWidget* parent, int item, const char* text)
{
    auto* label = ui::makeItem<QLabel>(parent, item);
    if (text)
        label->setText(QString::fromLatin1(text));
    return label;
}

}  // namespace

COrvxESDHARTDlg::COrvxESDHARTDlg() : CResourcePage(220) {}

void COrvxESDHARTDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Live values"), Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Bar& b : kBars) {
        grid->addWidget(new QLabel(QString::fromLatin1(b.caption), group), row, 0);
        grid->addWidget(endLabel(group, b.low, b.lowText), row, 1);
        auto* bar = ui::makeItem<QProgressBar>(group, b.bar);
        bar->setTextVisible(false);
        grid->addWidget(bar, row, 2);
        grid->addWidget(endLabel(group, b.high, b.highText), row, 3);
        grid->addWidget(ui::makeItem<QLabel>(group, b.value), row, 4);
        ++row;
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
    for (const Bar& b : kBars) {
        auto control = std::make_unique<controls::CDtmProgressBarControl>(b.controlId, this, Controller());
        control->Attach(ui::dialogItem<QLabel>(Surface(), b.high), ui::dialogItem<QLabel>(Surface(), b.low),
                        ui::dialogItem<QLabel>(Surface(), b.value), ui::dialogItem<QProgressBar>(Surface(), b.bar));
        RegisterControl(std::move(control));
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
    if (code == 501 || code == 502 || code == 524)
        followDevice();
    if (code == 524)
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
    if (!controller)
        return;
    try {
        const std::uint32_t unit = controller->GetParameterValue(QStringLiteral("4007")).toUInt32();
        if (unit != m_pressureUnit) {
            const int high = unit == controls::PressurePsi ? 150 : unit == controls::PressureBar ? 10
                             : unit == controls::PressureKpa ? 1000 : -1;
            if (high > 0) {
                for (std::int32_t id : {12, 13})
                    if (auto* bar = dynamic_cast<controls::CDtmProgressBarControl*>(Control(id)))
                        bar->SetRangeAndUnit(controls::pressureUnitName(unit), 0, high);
            }
            m_pressureUnit = unit;
        }
        const QString tripped = host::variantText(controller->GetParameterValue(QStringLiteral("2012")));
        if (tripped != m_trippedValue) {
            m_trippedValue = tripped;
            if (m_tripped)
                m_tripped->setPixmap(ui::bitmapResource(*ShownTripped() ? kTrippedImage : kNotTrippedImage));
        }
    } catch (const std::exception&) {
        // A device that cannot tell its unit or its ESD state leaves the page as it was.
    }
}

}  // namespace orvx::views
