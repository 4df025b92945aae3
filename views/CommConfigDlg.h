#pragma once

#include "ResourcePage.h"

namespace orvx::views {

// The commission-service configuration page: the device tag and the air action.
class CCommConfigDlg final : public CResourcePage {
public:
    CCommConfigDlg() : CResourcePage(268) {}

    // The end of the commissioning operation (code::resultOf(method::WriteParameters)) shows
    // the device's values again.
    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
};

}  // namespace orvx::views
