#pragma once

#include "IManualStops.h"
#include "OperationStatusLine.h"
#include "ResourcePage.h"

#include <QPointer>

class QLabel;
class QPushButton;

namespace orvx::views {

// Find stops: the positioner exhausts the actuator, then fills it, and records both end
// positions of the travel sensor. The automatic run (method 8) is armed with Start, run with
// Continue and stopped with Cancel; Start Manual Find Stops opens the dialog in which the user
// drives the valve to each stop and confirms it. Setup mode only.
class CFindStopsDlg final : public CResourcePage, public IManualStops {
public:
    CFindStopsDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

    // IManualStops
    void SetDialogWindow(QWidget* window) override { m_dialogWindow = window; }
    void RunMethod(int method) override;

    // The status line's text without the elapsed line.
    const QString& StatusText() const { return m_status.Text(); }

protected:
    void InitDialog() override;

private:
    void Arm();
    void Run();
    void Cancel();
    void OpenManualDialog();
    // Idle again after the run ended: Start back, Continue and Cancel gone.
    void BackToIdle();
    // Hands a manual method's result to the open dialog, after this handler has returned.
    void PostToDialog(int method, int status);

    QPushButton* m_start = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_manual = nullptr;
    COperationStatusLine m_status{QStringLiteral("Find stops")};
    QPointer<QWidget> m_dialogWindow;
};

}  // namespace orvx::views
