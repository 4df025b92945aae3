#pragma once

#include "EsdPage.h"

namespace orvx::views {

// Commission Service, Diagnostics: runs a PST or a TBT on demand and shows the result, the
// summary after a PST and the signatures from the device or a data file.
class CCommissionDiagDlg final : public CEsdPage {
public:
    CCommissionDiagDlg() : CEsdPage(236) {}

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
