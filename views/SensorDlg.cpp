#include "SensorDlg.h"

#include "controls/DtmComboBoxControl.h"
#include "controls/DtmTextControl.h"
#include "controls/PressureUnit.h"
#include "framework/IUIController.h"
#include "platform/ui/DialogItems.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr std::int32_t kOpenCloseControl = 24;
constexpr int kOpenCloseItem = 289;

// One measurement: control id, caption, its edit's item and its unit label's item (0: an
// unnamed label whose text comes from the page's settings).
struct Field {
    std::int32_t controlId;
    const char* caption;
    int edit;
    int unit;
};
constexpr Field kMeasured[] = {
    {10, "Input signal", 206, 0},
    {11, "Valve position", 208, 0},
    {12, "Retransmitter range high", 209, 0},
    {13, "Retransmitter range low", 210, 0},
    {14, "Actuator pressure 1", 211, 338},
    {15, "Actuator pressure 2", 213, 339},
    {16, "Supply pressure", 214, 340},
    {17, "Pilot pressure", 215, 341},
    {18, "Board temperature", 221, 0},
    {19, "Minimum temperature", 222, 0},
    {20, "Maximum temperature", 223, 0},
};
constexpr Field kRaw[] = {
    {21, "Raw signal", 224, 0},          {22, "Raw position", 225, 0},     {23, "Raw pressure 1", 226, 0},
    {25, "Lower stop", 227, 0},          {26, "Upper stop", 228, 0},       {27, "I/P output", 229, 0},
    {28, "I/P current", 230, 0},         {29, "Raw pressure 2", 231, 0},   {30, "Raw supply pressure", 232, 0},
    {31, "Raw pilot pressure", 233, 0},
};
constexpr std::int32_t kFirstPressure = 14;
constexpr std::int32_t kLastPressure = 17;

QString unitName(std::int32_t controlId)
{
    return QStringLiteral("unit_%1").arg(controlId);
}

void addRows(QGroupBox* group, QGridLayout* grid, int& row, const Field* first, const Field* last)
{
    for (const Field* f = first; f != last; ++f) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(ui::itemName(f->edit));
        auto* caption = new QLabel(QString::fromLatin1(f->caption), group);
        caption->setBuddy(edit);
        auto* unit = new QLabel(group);
        unit->setObjectName(f->unit ? ui::itemName(f->unit) : unitName(f->controlId));
        unit->setMinimumWidth(30);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        ++row;
    }
    grid->setColumnStretch(1, 1);
}

}  // namespace

CSensorDlg::CSensorDlg() : CResourcePage(241) {}

void CSensorDlg::InitDialog()
{
    auto* columns = new QHBoxLayout;

    auto* measured = new QGroupBox(QStringLiteral("Measurements"), Surface());
    auto* measuredGrid = new QGridLayout(measured);
    int row = 0;
    addRows(measured, measuredGrid, row, std::begin(kMeasured), std::end(kMeasured));
    measuredGrid->setRowStretch(row, 1);
    columns->addWidget(measured);

    auto* raw = new QGroupBox(QStringLiteral("Raw values"), Surface());
    auto* rawGrid = new QGridLayout(raw);
    row = 0;
    addRows(raw, rawGrid, row, std::begin(kRaw), std::begin(kRaw) + 3);
    auto* openClose = new QComboBox(raw);
    openClose->setObjectName(ui::itemName(kOpenCloseItem));
    auto* openCloseCaption = new QLabel(QStringLiteral("Open / Close"), raw);
    openCloseCaption->setBuddy(openClose);
    rawGrid->addWidget(openCloseCaption, row, 0);
    rawGrid->addWidget(openClose, row, 1);
    ++row;
    addRows(raw, rawGrid, row, std::begin(kRaw) + 3, std::end(kRaw));
    rawGrid->setRowStretch(row, 1);
    columns->addWidget(raw);

    BodyLayout()->addLayout(columns);
}

void CSensorDlg::CreateControls()
{
    const auto attach = [this](const Field& f) {
        auto control = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        const QString unit = f.unit ? ui::itemName(f.unit) : unitName(f.controlId);
        control->Attach(nullptr, ui::dialogItem<QLineEdit>(Surface(), f.edit), Surface()->findChild<QLabel*>(unit));
        RegisterControl(std::move(control));
    };
    for (const Field& f : kMeasured)
        attach(f);
    for (const Field& f : kRaw)
        attach(f);
    auto openClose = std::make_unique<controls::CDtmComboBoxControl>(kOpenCloseControl, this, Controller());
    openClose->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(Surface(), kOpenCloseItem), nullptr);
    RegisterControl(std::move(openClose));
}

void CSensorDlg::Activate()
{
    CResourcePage::Activate();
    followPressureUnit();
}

void CSensorDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == 501 || code == 502)
        followPressureUnit();
    if (code == 524)
        RefreshControls(-1);
}

void CSensorDlg::followPressureUnit()
{
    framework::IUIController* controller = Controller();
    if (!controller)
        return;
    std::uint32_t unit = 0;
    try {
        unit = controller->GetParameterValue(QStringLiteral("4007")).toUInt32();
    } catch (const std::exception&) {
        return;  // a unit the device cannot tell leaves the labels as they are
    }
    if (unit == m_pressureUnit)
        return;
    // A code that is none of the three units is not taken: the labels keep the last known unit
    // rather than going blank, and the next known code is applied.
    const QString name = controls::pressureUnitName(unit);
    if (name.isEmpty())
        return;
    for (std::int32_t id = kFirstPressure; id <= kLastPressure; ++id)
        if (auto* text = dynamic_cast<controls::CDtmTextControl*>(Control(id)))
            text->SetUnitText(name);
    m_pressureUnit = unit;
}

}  // namespace orvx::views
