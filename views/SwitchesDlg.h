#pragma once

#include "ResourcePage.h"

class QComboBox;
class QLineEdit;

namespace orvx::controls {
class CDtmComboBoxControl;
}

namespace orvx::views {

// The switches page (shown under Device Setup and under Commission Service): the action of
// DO switch 2, its normal state, and its value, which is editable only for the two position
// limit actions.
class CSwitchesDlg final : public CResourcePage {
public:
    CSwitchesDlg() : CResourcePage(227) {}

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void ModeGated(bool allowed) override;
    void InitDialog() override;
    void CreateControls() override;

private:
    // Makes the value field editable exactly for the position limit actions; a user who may
    // not write keeps it read-only.
    void followAction(std::int32_t action);
    void followDeviceAction();
    // The action the combo box shows; -1 for none.
    std::int32_t shownAction() const;

    QComboBox* m_actionBox = nullptr;
    QLineEdit* m_value = nullptr;
    controls::CDtmComboBoxControl* m_action = nullptr;
};

}  // namespace orvx::views
