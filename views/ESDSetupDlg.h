#pragma once

#include "EsdPage.h"

namespace orvx::views {

// The ESD Setup page, in Setup mode only: the PST settings and schedule, and which inputs may
// start a PST.
class CESDSetupDlg final : public CEsdPage {
public:
    // After a mode change (500) the base's re-evaluation brings the recorded buttons back with
    // force once the device is in Setup mode.
    CESDSetupDlg();

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
