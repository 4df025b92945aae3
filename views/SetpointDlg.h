#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// Manual Setpoint: in Manual mode the valve is driven by hand, to full open, full close or the
// manual setpoint. While a drive runs the page's controls and buttons are locked; the device's
// answer (514, 515, 516), a cancel (523) or a failure gives them back.
class CSetpointDlg final : public CResourcePage {
public:
    CSetpointDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Starts a drive with the button's command; false, so that the button sends nothing itself.
    bool drive(std::int32_t buttonControl, int method);
    // Checks the setpoint entry and sends it when changed; false, with a message, for one out
    // of range or one the device did not take.
    bool setpointReady();
    // Gates the page for the device's mode again and gives the controls back when it allows.
    void applyModeRules();
};

}  // namespace orvx::views
