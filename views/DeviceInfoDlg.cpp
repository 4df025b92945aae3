#include "DeviceInfoDlg.h"

#include <QGridLayout>
#include <QGroupBox>

namespace orvx::views {

namespace {

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = 10, .kind = Text, .item = 354, .caption = "Manufacturer"},
    {.controlId = 11, .kind = Text, .item = 355, .caption = "Device type"},
    {.controlId = 12, .kind = Text, .item = 356, .caption = "Module type"},
    {.controlId = 13, .kind = Text, .item = 357, .caption = "Device ID"},
    {.controlId = 14, .kind = Text, .item = 358, .caption = "Universal revision"},
    {.controlId = 15, .kind = Text, .item = 359, .caption = "Hardware revision"},
    {.controlId = 16, .kind = Text, .item = 360, .caption = "Field device revision"},
    {.controlId = 17, .kind = Text, .item = 361, .caption = "Software revision"},
};

}  // namespace

CDeviceInfoDlg::CDeviceInfoDlg() : CResourcePage(242) {}

void CDeviceInfoDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Device information"), Surface());
    Fields().AddRows(new QGridLayout(group), group, kFields);
    BodyLayout()->addWidget(group);
}

}  // namespace orvx::views
