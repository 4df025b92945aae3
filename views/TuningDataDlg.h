#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// The positioner's PID parameters, with Write (send the edited set to the device, method 13)
// and Read (fetch the device's set, method 28) as device operations.
class CTuningDataDlg final : public CResourcePage {
public:
    CTuningDataDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Sends the method's command and records the running operation; answers false so that the
    // button does not send it a second time. A failed send raises and leaves the page as it was.
    // A write goes only with every parameter entry valid; otherwise the user is told which is not.
    bool startOperation(std::int32_t controlId, int method);
};

}  // namespace orvx::views
