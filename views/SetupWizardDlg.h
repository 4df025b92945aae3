#pragma once

#include "ResourcePage.h"

#include <cstdint>
#include <deque>

class QLabel;
class QPushButton;

namespace orvx::views {

// Puts a positioner on its actuator in four steps, each run (Continue) or skipped (Skip):
// write air action, tag, descriptor and message to the device; find stops; autotune; reset the
// basic configuration and calibration to defaults. The steps left are kept as a stack, filled
// again once it runs empty or a cancel is acknowledged; the status line prompts for the next
// step and, while one runs, says which and for how long. Setup mode only.
class CSetupWizardDlg final : public CResourcePage {
public:
    struct Step;

    // Operation buttons, in the order of their bits.
    enum Button : std::uint8_t {
        ApplyModeButton = 1u << 0,
        StartButton = 1u << 1,
        ContinueButton = 1u << 2,
        SkipButton = 1u << 3,
        CancelButton = 1u << 4,
    };
    static constexpr std::uint8_t kIdle = ApplyModeButton | StartButton;

    CSetupWizardDlg();

    void OnUpdate(std::int32_t code, const QString& text) override;

protected:
    void InitDialog() override;

private:
    void start();
    void runStep();
    void skipStep();
    void cancel();

    // Pushes the four steps so that the first one is on top.
    void fill();
    void popStep();
    void finishStep(const Step& step);
    void returnToIdle();
    void endRunning();
    void showLine(const QString& text);
    // The running step's text over the step's number, name and time taken so far.
    void showProgress();

    std::deque<const Step*> m_steps;
    // The stack as it was when the running step started: a busy device never took the step.
    std::deque<const Step*> m_stepsBeforeRun;
    const Step* m_running = nullptr;
    std::int64_t m_runningSince = 0;
    QString m_progress;

    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_continue = nullptr;
    QPushButton* m_skip = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace orvx::views
