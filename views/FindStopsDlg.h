#pragma once

#include "ArmedRunPage.h"
#include "IManualStops.h"

#include <QPointer>

class QLabel;
class QPushButton;

namespace orvx::views {

// Find stops: the positioner exhausts the actuator, then fills it, and records both end
// positions of the travel sensor. The automatic run (method 8) is armed with Start, run with
// Continue and stopped with Cancel; Start Manual Find Stops opens the dialog in which the user
// drives the valve to each stop and confirms it. Setup mode only.
class CFindStopsDlg final : public CArmedRunPage, public IManualStops {
public:
    CFindStopsDlg();

    // IManualStops
    void SetDialogWindow(QWidget* window) override { m_dialogWindow = window; }
    void RunMethod(int method) override;

protected:
    void InitDialog() override;
    // The manual steps' failures go to the dialog.
    void OnFailure(std::int32_t code, const QString& text) override;
    // The manual steps' results go to the dialog.
    void OnOtherCode(std::int32_t code) override;

private:
    void OpenManualDialog();
    // Hands a manual method's result to the open dialog, after this handler has returned.
    void PostToDialog(int method, int status);

    QPushButton* m_manual = nullptr;
    QPointer<QWidget> m_dialogWindow;
};

}  // namespace orvx::views
