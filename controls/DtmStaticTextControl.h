#pragma once

#include "DtmControlBase.h"

#include <QPointer>

class QLabel;

namespace orvx::controls {

// A label showing a parameter's text as the device reports it.
class CDtmStaticTextControl : public CDtmControlBase {
public:
    using CDtmControlBase::CDtmControlBase;

    void Attach(QLabel* label);

    void SetCaption(const QString& text) override;
    QString GetTypeName() const override { return QStringLiteral("DtmStaticTextControl"); }
    // "./@label" (when present) becomes the text, then "./@tag".
    void Configure(const xml::XmlNode& controlData) override;
    // Shows the device's text; a refused read, an error or an empty text keeps the text shown.
    void Refresh() override;
    void ApplyEnabled() override {}
    QWidget* GetEditWindow() const override;

private:
    QPointer<QLabel> m_label;
};

}  // namespace orvx::controls
