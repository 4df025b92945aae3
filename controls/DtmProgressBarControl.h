#pragma once

#include "DtmControlBase.h"
#include "platform/com/Variant.h"

#include <QPointer>

#include <optional>

class QLabel;
class QProgressBar;

namespace orvx::controls {

// A progress bar showing a number (a pressure, a travel) with its value label "value unit" and,
// optionally, labels for the ends of its range.
class CDtmProgressBarControl : public CDtmControlBase {
public:
    // The range of the bar is kept within these bounds; other bounds are clamped to them.
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 65535;

    using CDtmControlBase::CDtmControlBase;

    // The high and low labels may be none.
    void Attach(QLabel* high, QLabel* low, QLabel* value, QProgressBar* bar);

    QString GetTypeName() const override { return QStringLiteral("DtmProgressBarControl"); }
    // "./@value" first: a missing or malformed value ends the configuration at once. Then tag,
    // unit, the value label, "./Range" low and high, the position, tooltip and modified.
    void Configure(const xml::XmlNode& controlData) override;
    // Reads the value; a reply that is not a number changes nothing, and neither does the reply
    // shown already.
    void Refresh() override;
    void ApplyEnabled() override {}

    // The unit the value label and the end labels show.
    const QString& Unit() const { return m_unit; }
    // Stores the unit, sets the bar's range and writes the end labels as "<bound> <unit>".
    void SetRangeAndUnit(const QString& unit, int low, int high);

protected:
    // The bar and its value label; the range labels are optional.
    QList<QWidget*> boundWindows() const override;

private:
    void setRange(int low, int high);
    void showPosition(double value);

    QPointer<QLabel> m_high;
    QPointer<QLabel> m_low;
    QPointer<QLabel> m_value;
    QPointer<QProgressBar> m_bar;
    QString m_unit;
    // The reply the label and the bar show; none after anything else changed them.
    std::optional<com::Variant> m_shown;
};

}  // namespace orvx::controls
