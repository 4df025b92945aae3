#pragma once

#include "LiveValuesPage.h"

namespace orvx::views {

// Commission Service: the loop's signals as live bars while the valve is commissioned.
class CCommissionDlg final : public CLiveValuesPage {
public:
    CCommissionDlg() : CLiveValuesPage(233) {}

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
