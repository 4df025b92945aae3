#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// Who made the positioner and which revisions of it answer: eight read-only fields.
class CDeviceInfoDlg final : public CResourcePage {
public:
    CDeviceInfoDlg();

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
