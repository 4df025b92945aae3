#pragma once

#include "DtmControlBase.h"

#include <QList>
#include <QPointer>

#include <utility>

class QRadioButton;

namespace orvx::controls {

// A group of radio buttons bound to one enumerated parameter; each button stands for a value.
class CDtmRadioControl : public CDtmControlBase {
public:
    using CDtmControlBase::CDtmControlBase;

    // The buttons and their values. A negative value marks a button that writes nothing.
    void Attach(const QList<std::pair<QRadioButton*, int>>& buttons);

    QString GetTypeName() const override { return QStringLiteral("DtmRadioControl"); }
    // "./@value" (unsigned, base 10; when present) checks its button, then tag and modeui.
    void Configure(const xml::XmlNode& controlData) override;
    // Shows the device's value: every button unchecked, then the one with that value checked.
    void Refresh() override;
    void ApplyEnabled() override;

    // The value last read or clicked.
    std::uint32_t CurrentValue() const { return m_value; }

protected:
    QList<QWidget*> modeWindows() const override;

private:
    struct Button {
        QPointer<QRadioButton> window;
        int value = -1;
    };

    void onClicked(int value);
    void check(std::int64_t value);
    void uncheckAll();

    QList<Button> m_buttons;
    std::uint32_t m_value = 0;
};

}  // namespace orvx::controls
