#include "DeviceInfoDlg.h"

#include "controls/DtmTextControl.h"
#include "platform/ui/DialogItems.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orvx::views {

namespace {

struct Field {
    std::int32_t controlId;
    const char* caption;
    int edit;
};
constexpr Field kFields[] = {
    {10, "Manufacturer", 354},       {11, "Device type", 355},        {12, "Module type", 356},
    {13, "Device ID", 357},          {14, "Universal revision", 358}, {15, "Hardware revision", 359},
    {16, "Field device revision", 360}, {17, "Software revision", 361},
};

}  // namespace

CDeviceInfoDlg::CDeviceInfoDlg() : CResourcePage(242) {}

void CDeviceInfoDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Device information"), Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Field& f : kFields) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(ui::itemName(f.edit));
        auto* caption = new QLabel(QString::fromLatin1(f.caption), group);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    BodyLayout()->addWidget(group);
}

void CDeviceInfoDlg::CreateControls()
{
    for (const Field& f : kFields) {
        auto control = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        control->Attach(nullptr, ui::dialogItem<QLineEdit>(Surface(), f.edit), nullptr);
        RegisterControl(std::move(control));
    }
}

}  // namespace orvx::views
