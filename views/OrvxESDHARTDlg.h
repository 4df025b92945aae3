#pragma once

#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

#include <optional>

class QLabel;

namespace orvx::views {

// The device overview at the root of the tree: input signal, valve position, pressure and
// supply pressure as live bars, and whether the ESD has tripped.
class COrvxESDHARTDlg final : public CResourcePage {
public:
    COrvxESDHARTDlg();

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;

    // The image item 286 shows: true tripped, false not tripped, none before the first read.
    std::optional<bool> ShownTripped() const;

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    // Follows the device's pressure unit on the two pressure bars and the ESD-tripped image.
    void followDevice();

    QLabel* m_tripped = nullptr;
    // The ranges of the pressure and supply pressure bars.
    controls::CPressureUnitFollower m_pressureUnit;
    std::optional<QString> m_trippedValue;
};

}  // namespace orvx::views
