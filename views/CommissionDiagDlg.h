#pragma once

#include "ResourcePage.h"

class QPlainTextEdit;
class QRadioButton;

namespace orvx::views {

// Runs a partial stroke test or a terminal board test on demand, shows the result, opens the
// PST summary after a test, and shows the last PST signature, the last ESD event or a record
// of a data file in the diagnostic graph.
class CCommissionDiagDlg final : public CResourcePage {
public:
    CCommissionDiagDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;
    void CreateControls() override;

private:
    bool PerformDiagnostics();
    void ShowResult(const QString& text);
    void ShowTestResult(bool withPerformedTime);

    QRadioButton* m_performPst = nullptr;
    QRadioButton* m_performTbt = nullptr;
    QPlainTextEdit* m_result = nullptr;
};

}  // namespace orvx::views
