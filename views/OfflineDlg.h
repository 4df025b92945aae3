#pragma once

#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

#include <cstdint>

namespace orvx::views {

// The stored configuration of the offline control: the page header and a column of ESD and
// alarm parameters, all data-bound. The page itself only keeps the two supply limits in the
// data set's pressure unit.
class COfflineDlg final : public CResourcePage {
public:
    COfflineDlg();

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;

    // The pressure unit the supply limits are shown in (HART code).
    std::uint32_t ShownPressureUnit() const;

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Gives the supply limits the settings' pressure unit (tag::PressureUnit) when it differs
    // from the one shown.
    void followPressureUnit();

    // The two supply limits, shown in psi until the data set tells its unit.
    controls::CPressureUnitFollower m_pressureUnit;
    bool m_shownBefore = false;
};

}  // namespace orvx::views
