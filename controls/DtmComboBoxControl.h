#pragma once

#include "Choice.h"
#include "DtmControlBase.h"

#include <QPointer>

class QComboBox;
class QLabel;

namespace orvx::controls {

// A drop-down list of choices bound to one parameter, with an optional caption, indicator icon
// and value label. The choices come from the ViewSetting and may be replaced by each Refresh;
// a choice the user picks is sent at once.
class CDtmComboBoxControl : public CDtmControlBase {
public:
    CDtmComboBoxControl(std::int32_t controlId, framework::IApplicationView* page,
                        framework::IUIController* controller);
    ~CDtmComboBoxControl() override;

    // The combo box is required; the labels may be none.
    void Attach(QLabel* caption, QLabel* icon, QComboBox* combo, QLabel* valueLabel);

    // IFdtControl
    void SetCaption(const QString& text) override;
    QString GetTypeName() const override;
    void Refresh() override;
    void Configure(const xml::XmlNode& controlData) override;
    // Enabled with a controller, a user who may write, the enabled setting, and a parameter
    // the controller has not reported read-only.
    void ApplyEnabled() override;
    void EnableForMode(bool enable) override;

    // A choice picked by the user; ignored while events are blocked.
    void OnSelectionChanged(int index);

    // The selected choice's index, -1 for none.
    std::int32_t CurrentIndex() const { return m_choices.current; }
    const CChoiceList& Choices() const { return m_choices; }
    // Modified, or showing another choice than the device's.
    bool IsModified() const;
    bool IsReadOnly() const { return m_readOnly; }

protected:
    QList<QWidget*> modeWindows() const override;
    // The control's indicator shows a failed write.
    void showFailure(const QString&) override {}

private:
    void configureSteps(const xml::XmlNode& element);
    void fillCombo();
    void select(std::int32_t index);
    void updateIndicator();

    QPointer<QLabel> m_caption;
    QPointer<QLabel> m_icon;
    QPointer<QComboBox> m_combo;
    QPointer<QLabel> m_valueLabel;
    CChoiceList m_choices;
    std::int32_t m_deviceIndex = -1;
    bool m_hasDeviceIndex = false;
    bool m_readOnly = false;
    // A Get answered false disables the box; the next answered one decides again.
    bool m_lockedByFailedRead = false;
    bool m_enabledBeforeLock = true;
};

}  // namespace orvx::controls
