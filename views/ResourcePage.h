#pragma once

#include "framework/ApplicationViewBase.h"
#include "framework/PageFields.h"

namespace orvx::views {

// A page whose settings come from a ViewSetting resource of the program. The page class makes
// its fields' widgets through Fields() in InitDialog(); on loading, the base creates the header
// controls, the controls of the fields are bound, the page adds what it needs to them in
// CreateControls(), then the resource applies.
class CResourcePage : public framework::CApplicationViewBase {
public:
    void LoadViewSetting() override;

protected:
    explicit CResourcePage(int viewSettingResource) : m_viewSettingResource(viewSettingResource) {}
    // Runs once the fields' controls are bound, before the settings apply.
    virtual void CreateControls() {}
    framework::CPageFields& Fields() { return m_fields; }

private:
    int m_viewSettingResource;
    framework::CPageFields m_fields{*this};
};

// Pages that carry only the common header.
class CDeviceSetupDlg final : public CResourcePage {
public:
    CDeviceSetupDlg() : CResourcePage(245) {}
};

class CCalibrationDlg final : public CResourcePage {
public:
    CCalibrationDlg() : CResourcePage(229) {}
};

class CStatusDiagDlg final : public CResourcePage {
public:
    CStatusDiagDlg() : CResourcePage(237) {}
};

}  // namespace orvx::views
