#include "DtmStaticTextControl.h"

#include "UIEventsImpl.h"

#include <QLabel>

namespace orvx::controls {

void CDtmStaticTextControl::Attach(QLabel* label)
{
    m_label = label;
}

void CDtmStaticTextControl::SetCaption(const QString& text)
{
    if (m_label)
        m_label->setText(text);
}

void CDtmStaticTextControl::Configure(const xml::XmlNode& controlData)
{
    if (const auto label = attribute(controlData, "label"))
        SetCaption(*label);
    readTag(controlData);
}

void CDtmStaticTextControl::Refresh()
{
    CStaticTextEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (!dispatch(event))
        return;
    takeEventError(event);
    const QString text = event.GetStaticText();
    // A value that could not be read says so where it stands, rather than showing the last one.
    if (event.IsError())
        SetCaption(event.GetErrorText());
    else if (!text.isEmpty())
        SetCaption(text);
}

QWidget* CDtmStaticTextControl::GetEditWindow() const
{
    return m_label;
}

}  // namespace orvx::controls
