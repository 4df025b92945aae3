#pragma once

#include "EntryPairCheck.h"
#include "ResourcePage.h"
#include "controls/PressureUnitFollower.h"

#include <optional>

class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace orvx::views {

// What the three ESD pages share, each part built only by the pages that show it:
// - the PST settings (controls 10 to 21) with the friction limits check and Apply (PST
//   settings), their five pressures following the device's unit;
// - the PST schedule: the interval (control 22), the next scheduled PST, the picker of the next
//   one and Apply (schedule);
// - the tests: Perform PST or TBT, Load Current PST, Load ESD Data, Load From File and the Test
//   Result, with the PST summary after a test and the graph after loading curves.
// The item numbers differ from page to page; everything else is the same.
class CEsdPage : public CResourcePage {
public:
    // The numbered items of the settings and the schedule; 0 where the page has none.
    struct SettingsItems {
        int frictionLow = 0;
        int frictionHigh = 0;
        int applySettings = 0;
        int interval = 0;
        int nextPst = 0;
        int picker = 0;
        int applySchedule = 0;
        int hint = 0;
    };
    struct TestItems {
        int performPst = 0;
        int performTbt = 0;
        int perform = 0;
        int loadPst = 0;
        int loadEsd = 0;
        int fromFile = 0;
        int result = 0;
        std::int32_t firstControl = 0;  // Perform, Load Current PST and Load ESD Data in turn
    };

    void Activate() override;
    void OnUpdate(std::int32_t code, const QString& text) override;
    // Clearing the page's pending changes also clears the device's new-schedule flag.
    void ClearInvalid() override;

protected:
    explicit CEsdPage(int viewSettingResource);
    // Checks the friction limits and follows the interval each time their fields are left.
    void CreateControls() override;
    // Keeps the picker and the test choice usable exactly when their buttons are.
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* BuildSettings(QWidget* parent, const SettingsItems& items);
    QWidget* BuildSchedule(QWidget* parent, const SettingsItems& items);
    QWidget* BuildTests(QWidget* parent, const TestItems& items);

    // The buttons made, for the pages to list as operation buttons in their own order; null for
    // a part the page does not show.
    QPushButton* m_applySettings = nullptr;
    QPushButton* m_applySchedule = nullptr;
    QWidget* m_perform = nullptr;
    QWidget* m_loadPst = nullptr;
    QWidget* m_loadEsd = nullptr;
    QPushButton* m_fromFile = nullptr;
    QRadioButton* m_performPst = nullptr;
    QRadioButton* m_performTbt = nullptr;
    QDateTimeEdit* m_picker = nullptr;

private:
    bool HasSettings() const { return m_applySettings != nullptr; }
    bool HasTests() const { return m_result != nullptr; }
    void OnSettingsUpdate(std::int32_t code);
    void OnTestUpdate(std::int32_t code, const QString& text);
    // A command of the page other than a test that the device refused or failed: why, on the
    // status line (a busy device is told by the page base).
    void ShowRefusedOperation(std::int32_t code, const QString& method);

    // The picker follows Apply (schedule), the test choice Perform Diagnostics: each is usable
    // exactly when its button is, whatever rule enabled or disabled the button.
    void FollowButton(const QWidget* button);
    void ApplySettings();
    void ApplySchedule();
    void IntervalLeft();
    void FollowPressureUnit();
    void ShowNextPst();
    void SetPickerRange();
    // The PST interval in days as the device holds it; none when it cannot be read as a number.
    std::optional<std::int32_t> ReadInterval() const;
    // Sends a value the page keeps the device told of; a user who may not write sends nothing.
    void Send(QLatin1StringView tag, std::int32_t value);

    bool PerformDiagnostics();
    void ShowResult(const QString& text);
    void ShowTestResult(bool withPerformedTime);

    controls::CPressureUnitFollower m_pressureUnit;
    // Every page of the control that shows the friction limits shares their agreement.
    CEntryPairCheck m_frictionLimits;
    QLineEdit* m_intervalEdit = nullptr;
    QLineEdit* m_nextPst = nullptr;
    bool m_intervalEdited = false;
    QPlainTextEdit* m_result = nullptr;
    std::int32_t m_firstTestControl = 0;
};

}  // namespace orvx::views
