#pragma once

#include "DtmControlBase.h"
#include "IValidator.h"

#include <QPalette>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;

namespace orvx::controls {

// An edit field bound to one parameter, with an optional indicator icon and unit label. The
// entry is committed on Enter (key release) and when the field loses the focus; it is sent
// only when it passes the validator, otherwise it stays in the field in red with the error
// icon. The device value replaces the entry on each Refresh.
class CDtmTextControl : public CDtmControlBase {
public:
    CDtmTextControl(std::int32_t controlId, framework::IApplicationView* page, framework::IUIController* controller);
    ~CDtmTextControl() override;

    // The edit is required; icon and unit may be none. A string length set already cuts the
    // edit's text.
    void Attach(QLabel* icon, QLineEdit* edit, QLabel* unit);

    // IFdtControl
    // The label names the parameter in validation messages; it is not shown.
    void SetCaption(const QString& text) override { m_label = text; }
    QString GetTypeName() const override;
    void Refresh() override;
    void Configure(const xml::XmlNode& controlData) override;
    // Read-only unless enabled, with a controller and a user who may write. Never disabled:
    // the field keeps showing its value.
    void ApplyEnabled() override;
    QWidget* GetEditWindow() const override;
    QString GetValidationMessage() const override { return m_validationMessage; }

    // Widget events, reached through the edit's event filter and signals.
    void OnKeyUp(int key);
    // Commits the entry, then runs the checks added with AddLeaveCheck, in the order added.
    void OnFocusLost();
    void OnTextChanged();

    // A check of the page's to run each time the user leaves the field, once the entry has
    // been validated and committed: a rule that compares it with other entries, or that acts
    // on the value the device now holds. A commit that raises runs none.
    void AddLeaveCheck(std::function<void()> check);

    void SetUnitText(const QString& text);
    // Replaces (and destroys) the validator; none accepts any entry.
    void SetValidator(std::unique_ptr<IValidator> validator);
    // Limits the entry to 'length' characters and cuts a longer text; negative is ignored.
    void SetStringLength(std::int32_t length);
    // Shows or hides the edit, its unit and its icon together.
    void Show(bool visible);
    // Validates the edit's text, keeps the outcome and the message, and paints the text red
    // while it is invalid. Valid without a validator.
    bool Validate();
    // The validation message with the label in place of its leading word ("Numeric" for a
    // range, "Input" for a number format or divisibility message).
    QString GetLabelledMessage() const override;
    bool IsModified() const { return IsModifiedFlag(); }
    void UpdateIndicator();
    // Sends a changed, valid entry (Set event) and tells the page the validation outcome.
    void Commit();

    // Passes the pressure unit code to the validator, then re-evaluates the indicator.
    void SetValidatorUnit(std::uint32_t unitCode);

    // The outcome of the last validation.
    bool IsValid() const { return m_valid; }
    // The icon id the indicator shows: 29, 30, 31 or 34; 0 before the first update.
    std::uint32_t ShownIcon() const { return m_shownIcon; }
    // The text of the unit label beside the field; none without one.
    QString ShownUnit() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QList<QWidget*> modeWindows() const override;
    // The control's indicator shows a failed write.
    void showFailure(const QString&) override {}

private:
    void configureSteps(const xml::XmlNode& element);
    void showIcon(std::uint32_t id, const QString& tip);
    // Red while the entry is invalid; otherwise the look of a switched-off field while the user
    // cannot type into it; otherwise the palette the page gave the edit.
    void applyColours();

    std::unique_ptr<IValidator> m_validator;
    std::vector<std::function<void()>> m_leaveChecks;
    QString m_validationMessage;
    QString m_label;
    QString m_unitText;  // the unit the settings gave last
    QPointer<QLabel> m_icon;
    QPointer<QLineEdit> m_edit;
    QPointer<QLabel> m_unit;
    QPalette m_ownPalette;           // the edit's palette before it was painted red
    bool m_applyingColours = false;  // the edit's palette change is our own
    std::int32_t m_stringLength = -1;
    bool m_forceUpper = false;
    bool m_valid = true;
    bool m_lockedByFailedRead = false;
    std::uint32_t m_shownIcon = 0;
};

}  // namespace orvx::controls
