#pragma once

#include "EsdPage.h"

namespace orvx::views {

// The ESD Setup page, in Setup mode only: the PST settings and schedule, and which inputs may
// start a PST.
class CESDSetupDlg final : public CEsdPage {
public:
    CESDSetupDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
