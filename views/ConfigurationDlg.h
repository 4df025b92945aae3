#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// The configuration page: resets the basic configuration and calibration to the defaults.
class CConfigurationDlg final : public CResourcePage {
public:
    CConfigurationDlg() : CResourcePage(223) {}

    // The reset finished (code::resultOf(method::Reset)): shows the device's values, then
    // brings the PST pressures back to psi when the device's pressure unit is another.
    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;

private:
    void rewritePressuresInPsi();
};

}  // namespace orvx::views
