#pragma once

#include "OperationStatusLine.h"
#include "ResourcePage.h"

class QPushButton;

namespace orvx::views {

// Autotune: the positioner measures the valve assembly and sets its positioning parameters.
// The user chooses the aggressiveness (-9 for no overshoot to 9 for fast response), arms the
// run with Start, runs it with Continue (method 12) and stops it with Cancel. Setup mode only.
class CAutotuneDlg final : public CResourcePage {
public:
    CAutotuneDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

    // The status line's text without the elapsed line.
    const QString& StatusText() const { return m_status.Text(); }

protected:
    void InitDialog() override;

private:
    void Arm();
    void Run();
    void Cancel();
    void BackToIdle();

    QPushButton* m_start = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_cancel = nullptr;
    COperationStatusLine m_status{QStringLiteral("Autotune")};
};

}  // namespace orvx::views
