#include "CommConfigDlg.h"

#include "device/DeviceNames.h"

#include <QGridLayout>
#include <QGroupBox>

namespace orvx::views {

namespace {

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = 10, .kind = Text, .item = 311, .caption = "Tag"},
    {.controlId = 11, .kind = Choice, .item = 312, .caption = "Air action"},
};

}  // namespace

void CCommConfigDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Configuration"), Surface());
    Fields().AddRows(new QGridLayout(group), group, kFields);
    BodyLayout()->addWidget(group);
}

void CCommConfigDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::resultOf(device::method::WriteParameters))
        RefreshControls(-1);
}

}  // namespace orvx::views
