#pragma once

#include "framework/ApplicationViewBase.h"

namespace orvx::views {

// A page whose settings come from a ViewSetting resource of the program: the base creates the
// header controls, the page class adds its own in CreateControls(), then the resource applies.
class CResourcePage : public framework::CApplicationViewBase {
public:
    void LoadViewSetting() override;

protected:
    explicit CResourcePage(int viewSettingResource) : m_viewSettingResource(viewSettingResource) {}
    // The page's own data-bound controls, created and registered before the settings apply.
    virtual void CreateControls() {}

private:
    int m_viewSettingResource;
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
