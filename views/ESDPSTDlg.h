#pragma once

#include "EsdPage.h"

namespace orvx::views {

// The ESD and PST page: the PST settings and schedule, and the tests with their results,
// summary and signatures.
class CESDPSTDlg final : public CEsdPage {
public:
    CESDPSTDlg() : CEsdPage(221) {}

    // Connected, the operation buttons come back as recorded (and with them the picker and the
    // test choice), unless an operation runs; not connected, all of them are disabled.
    void UpdateAccess(bool force) override;

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
