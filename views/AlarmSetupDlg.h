#pragma once

#include "EntryPairCheck.h"
#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

class QCheckBox;
class QLineEdit;

namespace orvx::views {

// The alarm setup page: position error, valve stuck, near closed and linkage limits, and the
// supply pressure limits, which follow the device's pressure unit and must keep Low below High.
class CAlarmSetupDlg final : public CResourcePage {
public:
    CAlarmSetupDlg();

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;
    // A refresh of the enable box also settles whether Position Error Time is editable.
    void RefreshControls(std::int32_t controlId) override;
    // The enable box rules over the write right: its field stays read-only while it is clear.
    void RefreshWriteAccess() override;
    // Tells the user when the supply limits are the wrong way round; false while they are.
    bool CheckValid(std::int32_t controlId) override;
    void ClearInvalid() override;

    bool SupplyLimitsConsistent() const { return m_supplyLimits.Consistent(); }

protected:
    void ModeGated(bool allowed) override;
    void InitDialog() override;
    void CreateControls() override;

private:
    void followPressureUnit();
    // Position Error Time is editable only while position errors are enabled.
    void followPositionErrorEnable();

    // The supply limits; the first unit read converts nothing.
    controls::CPressureUnitFollower m_pressureUnit;
    QCheckBox* m_errorEnable = nullptr;
    QLineEdit* m_errorTime = nullptr;
    // Low must stay below High.
    CEntryPairCheck m_supplyLimits;
};

}  // namespace orvx::views
