#pragma once

#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

#include <span>

class QGroupBox;

namespace orvx::views {

// A page that watches the loop: input signal and valve position bars with fixed ends, and the
// pressure and supply pressure bars (controls 12 and 13), whose range follows the device's
// pressure unit. A new set of values refreshes controls 10 to 13.
class CLiveValuesPage : public CResourcePage {
public:
    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    using CResourcePage::CResourcePage;

    // The bars in a group box under the body, one row each: caption, low end, bar, high end,
    // value. Bars 10 and 11 get their fixed ends written where they have end labels.
    QGroupBox* AddBars(const QString& title, std::span<const framework::PageField> bars);
    void CreateControls() override;
    // Reads what the page follows of the device: the pressure unit here; pages extend it.
    virtual void FollowDevice() { FollowPressureUnit(); }
    // Sets the pressure bars' ranges from the device's unit; false, leaving them as they were,
    // when the device cannot tell it.
    bool FollowPressureUnit();

private:
    controls::CPressureUnitFollower m_pressureUnit;
};

}  // namespace orvx::views
