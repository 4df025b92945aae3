#pragma once

#include "ArmedRunPage.h"

namespace orvx::views {

// Autotune: the positioner measures the valve assembly and sets its positioning parameters.
// The user chooses the aggressiveness (-9 for no overshoot to 9 for fast response), arms the
// run with Start, runs it with Continue (method 12) and stops it with Cancel. Setup mode only.
class CAutotuneDlg final : public CArmedRunPage {
public:
    CAutotuneDlg();

protected:
    void InitDialog() override;
    // The aggressiveness must be within -9 and 9; an entry not yet committed is sent first.
    bool ReadyToRun() override;
    // Busy is said whoever is busy; another method's failure in the device leaves the line.
    void OnFailure(std::int32_t code, const QString& text) override;
};

}  // namespace orvx::views
