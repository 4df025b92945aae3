#pragma once

#include "ResourcePage.h"

class QDateEdit;

namespace orvx::views {

// The general configuration page: local button lock, identification texts, language, pressure
// unit, actuator, air action, latching of trips, and the device date.
class CConfigGeneralDlg final : public CResourcePage {
public:
    CConfigGeneralDlg() : CResourcePage(224) {}

    void Activate() override;
    // A full refresh also shows the device date.
    void RefreshControls(std::int32_t controlId) override;
    void RefreshWriteAccess() override;

protected:
    void ModeGated(bool allowed) override;
    void InitDialog() override;

private:
    void showDeviceDate();
    // Enables the date picker exactly when the user may write and the device mode allows.
    void applyDateAccess();

    QDateEdit* m_date = nullptr;
    bool m_modeAllowed = true;  // the last word of the mode gating
};

}  // namespace orvx::views
