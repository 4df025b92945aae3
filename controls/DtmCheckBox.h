#pragma once

#include "DtmControlBase.h"

#include <QPointer>

class QCheckBox;

namespace orvx::controls {

// A check box bound to an on/off parameter: 1 when checked, 0 when not.
class CDtmCheckBox : public CDtmControlBase {
public:
    using CDtmControlBase::CDtmControlBase;

    // The box the control drives; a user's click on it writes the parameter.
    void Attach(QCheckBox* box);

    QString GetTypeName() const override { return QStringLiteral("DtmCheckBoxControl"); }
    // Reads tag, tooltip and modeui; the check mark comes from the device, not the ViewSetting.
    void Configure(const xml::XmlNode& controlData) override;
    // Reads the state; a refused read or an error keeps the mark as it is.
    void Refresh() override;
    void ApplyEnabled() override;

protected:
    QList<QWidget*> modeWindows() const override;

private:
    void onClicked(bool checked);

    QPointer<QCheckBox> m_box;
};

}  // namespace orvx::controls
