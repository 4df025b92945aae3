#pragma once

#include "DtmControlBase.h"

#include <QList>
#include <QPointer>

#include <memory>

class QCheckBox;

namespace orvx::controls {

class IValidator;

// A group of check boxes, one per bit of an unsigned 32-bit bit set. Each entry is read as a
// parameter of its own (by its tag); a click writes the whole bit set under the entry's tag.
class CDtmBitEnumControl : public CDtmControlBase {
public:
    struct Entry {
        QString caption;  // shown by the box; empty keeps the form's text
        QString tag;
        int bitNumber = 0;  // 0 is the least significant bit; outside 0..31 the box is never set
        QCheckBox* box = nullptr;
    };

    CDtmBitEnumControl(std::int32_t controlId, framework::IApplicationView* page, framework::IUIController* controller);
    ~CDtmBitEnumControl() override;

    // The entries in the order the page lists them; Refresh reads them in that order.
    void Attach(const QList<Entry>& entries);

    QString GetTypeName() const override { return QStringLiteral("FdtBitEnumControl"); }
    // Validator, available, value (unsigned, when present) into the boxes, inconsistentFlag as
    // semantic error, enabled, modified; all without writing back.
    void Configure(const xml::XmlNode& controlData) override;
    // One read per entry, without writing back. A refused read unchecks every box.
    void Refresh() override;
    void ApplyEnabled() override;
    QString GetValidationMessage() const override { return m_validationMessage; }

    std::uint32_t Value() const { return m_value; }

protected:
    QList<QWidget*> modeWindows() const override;

private:
    struct Slot {
        QString tag;
        std::uint32_t mask = 0;
        QPointer<QCheckBox> box;
    };

    void onClicked(const Slot& slot, bool checked);
    void showValue();
    void setBoxesEnabled(bool enabled);

    QList<Slot> m_slots;
    std::uint32_t m_value = 0;
    std::unique_ptr<IValidator> m_validator;
    QString m_validationMessage;
};

}  // namespace orvx::controls
