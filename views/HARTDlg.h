#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// The HART page: the device's communication settings (read-only preambles, flags and
// signalling code) and its burst mode.
class CHARTDlg final : public CResourcePage {
public:
    CHARTDlg() : CResourcePage(228) {}

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
