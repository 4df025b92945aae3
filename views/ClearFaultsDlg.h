#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// The device's current and historical faults as lists of named bits (active ones first), the
// two commands that clear them, and how the positioner fails on pneumatics and on electronics
// faults.
class CClearFaultsDlg final : public CResourcePage {
public:
    CClearFaultsDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
