#include "DtmProgressBarControl.h"

#include "Conversions.h"
#include "UIEventsImpl.h"
#include "device/StringBridge.h"
#include "platform/xml/XmlDocument.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace orvx::controls {

namespace {

// Numbers such as "nan" and "inf" read as doubles but are no reading to show.
double finiteNumber(const QString& text)
{
    const double value = CConversions::to_double(text);
    if (!std::isfinite(value))
        throw std::runtime_error("Value is out of range");
    return value;
}

}  // namespace

QList<QWidget*> CDtmProgressBarControl::boundWindows() const
{
    return {m_bar.data(), m_value.data()};
}

void CDtmProgressBarControl::Attach(QLabel* high, QLabel* low, QLabel* value, QProgressBar* bar)
{
    m_high = high;
    m_low = low;
    m_value = value;
    m_bar = bar;
    m_shown.reset();
    if (bar)
        bar->setTextVisible(false);  // the value label says the value, with its unit
}

void CDtmProgressBarControl::Configure(const xml::XmlNode& controlData)
{
    m_shown.reset();
    try {
        const QString text = attribute(controlData, "value").value_or(QString());
        const double value = finiteNumber(text);
        readTag(controlData);
        if (const auto unit = attribute(controlData, "unit"))
            m_unit = *unit;
        if (m_value)
            m_value->setText(text + QLatin1Char(' ') + m_unit);
        // A bound left out keeps the bar's present one.
        const auto low = controlData.textAt(QStringLiteral("./Range/@low"));
        const auto high = controlData.textAt(QStringLiteral("./Range/@high"));
        const int lowBound = low ? CConversions::to_long(*low, 10) : (m_bar ? m_bar->minimum() : kLowest);
        const int highBound = high ? CConversions::to_long(*high, 10) : (m_bar ? m_bar->maximum() : kHighest);
        setRange(lowBound, highBound);
        showPosition(value);
        readToolTip(controlData, m_bar);
        readModified(controlData);
    } catch (const std::exception&) {
        // A missing or malformed attribute ends the configuration there.
    }
}

void CDtmProgressBarControl::Refresh()
{
    CGenericGetEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (!dispatch(event))
        return;
    takeEventError(event);
    if (event.IsError()) {
        // No number stands where the device gave none: the bar rests at its low end.
        if (m_value)
            m_value->setText(event.GetErrorText());
        if (m_bar)
            m_bar->setValue(m_bar->minimum());
        m_shown.reset();
        return;
    }
    const com::Variant& reply = event.GetValue();
    if (reply == m_shown)
        return;
    QString text;
    double value = 0.0;
    try {
        text = device::variantText(reply);
        value = finiteNumber(text);
    } catch (const std::exception&) {
        return;
    }
    if (m_value)
        m_value->setText(text + QLatin1Char(' ') + m_unit);
    showPosition(value);
    m_shown = reply;
}

void CDtmProgressBarControl::SetRangeAndUnit(const QString& unit, int low, int high)
{
    m_unit = unit;
    m_shown.reset();
    low = std::clamp(low, kLowest, kHighest);
    high = std::clamp(high, kLowest, kHighest);
    setRange(low, high);
    // The labels name the ends the bar really has.
    if (m_low)
        m_low->setText(QString::asprintf("%d", low) + QLatin1Char(' ') + unit);
    if (m_high)
        m_high->setText(QString::asprintf("%d", high) + QLatin1Char(' ') + unit);
}

void CDtmProgressBarControl::setRange(int low, int high)
{
    if (m_bar)
        m_bar->setRange(std::clamp(low, kLowest, kHighest), std::clamp(high, kLowest, kHighest));
}

void CDtmProgressBarControl::showPosition(double value)
{
    if (!m_bar)
        return;
    // Truncated toward zero, then held within the bar: Qt ignores a position outside the range,
    // which would leave the previous reading standing beside the new label.
    const double position = std::clamp(std::trunc(value), double(m_bar->minimum()), double(m_bar->maximum()));
    m_bar->setValue(static_cast<int>(position));
}

}  // namespace orvx::controls
