#pragma once

#include "EntryPairCheck.h"
#include "ResourcePage.h"

class QLineEdit;

namespace orvx::views {

// Position Retransmit: the retransmitter's range, and a fixed analog output for loop checks.
// Set fixes the output at the entered value, Finished gives it back to the valve position.
//
// A fixed output is never forgotten: leaving the page, closing the control or losing the
// device while it is fixed asks whether to set it back to normal now (with message boxes
// allowed), and otherwise leaves a standing warning in the status bar until Finished.
class CRetransmitDlg final : public CResourcePage {
public:
    CRetransmitDlg();

    void Deactivate() override;
    void PrepareToClose() override;
    // Tells the user when the range is too narrow; false while it is.
    bool CheckValid(std::int32_t controlId) override;
    void ClearInvalid() override;

    bool OutputFixed() const { return m_outputFixed; }
    bool RangeConsistent() const { return m_range.Consistent(); }

protected:
    void OnlineGated(bool online) override;
    void InitDialog() override;
    void CreateControls() override;

private:
    // The Set button's check: true lets its command go.
    bool set();
    // The Finished button: the output back to normal; true lets its command go.
    bool finish();
    // Sends Finished as its button would.
    void sendFinished();
    // Reminds the user of a fixed output: asks when 'mayAsk' and message boxes are allowed,
    // and leaves the standing warning when the output stays fixed.
    void remind(bool mayAsk);
    void showWarning(bool shown);

    CEntryPairCheck m_range;
    QLineEdit* m_output = nullptr;
    QWidget* m_finished = nullptr;
    bool m_outputFixed = false;
    QString m_fixedValue;  // the output set, as entered
    bool m_closing = false;
};

}  // namespace orvx::views
