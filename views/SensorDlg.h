#pragma once

#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

namespace orvx::views {

// The positioner's live and raw measurements, read-only; the four pressures carry the unit the
// device measures them in.
class CSensorDlg final : public CResourcePage {
public:
    CSensorDlg();

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;

    // The pressure unit code the pressure labels show; none before the first known unit.
    std::optional<std::uint32_t> ShownPressureUnit() const { return m_pressureUnit.Shown(); }

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Shows the device's pressure unit beside the four pressures when it changed.
    void followPressureUnit();

    // The unit labels of the four pressures.
    controls::CPressureUnitFollower m_pressureUnit;
};

}  // namespace orvx::views
