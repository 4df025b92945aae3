#include "CommissionDlg.h"

#include <QGroupBox>

namespace orvx::views {

namespace {

using enum framework::FieldKind;
constexpr framework::PageField kBars[] = {
    {.controlId = 10, .kind = Bar, .item = 206, .caption = "Input signal", .value = 218},
    {.controlId = 11, .kind = Bar, .item = 208, .caption = "Valve position", .value = 222},
    {.controlId = 12, .kind = Bar, .item = 209, .caption = "Pressure", .value = 227, .low = 296, .high = 297},
    {.controlId = 13, .kind = Bar, .item = 210, .caption = "Supply pressure", .value = 231, .low = 298, .high = 299},
};

}  // namespace

void CCommissionDlg::InitDialog()
{
    AddBars(QStringLiteral("Commissioning Services"), kBars);
}

}  // namespace orvx::views
