#include "HARTDlg.h"

#include <QGridLayout>
#include <QGroupBox>

namespace orvx::views {

namespace {

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = 10, .kind = Text, .item = 208, .caption = "Number of preambles"},
    {.controlId = 12, .kind = Text, .item = 209, .caption = "Physical signalling code"},
    {.controlId = 11, .kind = Text, .item = 210, .caption = "Device flags"},
    {.controlId = 13, .kind = Choice, .item = 213, .caption = "Burst mode"},
    {.controlId = 14, .kind = Choice, .item = 214, .caption = "Burst command"},
};

}  // namespace

void CHARTDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("HART communication"), Surface());
    Fields().AddRows(new QGridLayout(group), group, kFields);
    BodyLayout()->addWidget(group);
}

}  // namespace orvx::views
