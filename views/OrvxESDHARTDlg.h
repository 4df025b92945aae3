#pragma once

#include "LiveValuesPage.h"
#include "platform/com/Variant.h"

#include <optional>

class QLabel;

namespace orvx::views {

// The device overview at the root of the tree: input signal, valve position, pressure and
// supply pressure as live bars, and whether the ESD has tripped.
class COrvxESDHARTDlg final : public CLiveValuesPage {
public:
    COrvxESDHARTDlg();

    // The image item 286 shows: true tripped, false not tripped, none before the first read.
    std::optional<bool> ShownTripped() const;

protected:
    void InitDialog() override;
    // The ESD state too, when the pressure unit could be read.
    void FollowDevice() override;

private:
    void showTripped(bool tripped);

    QLabel* m_tripped = nullptr;
    QLabel* m_trippedWords = nullptr;
    std::optional<QString> m_trippedValue;
    com::Variant m_trippedRead;  // the device's answer m_trippedValue was made from
};

}  // namespace orvx::views
