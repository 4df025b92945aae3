#include "DtmButtonControl.h"

#include "UIEventsImpl.h"
#include "platform/ui/PostCall.h"

#include <QPushButton>

namespace orvx::controls {

void CDtmButtonControl::Attach(QPushButton* button)
{
    m_button = button;
    if (button)
        connect(button, &QPushButton::clicked, this,
                [this] { ui::runGuarded("button click", [this] { onClicked(); }); });
}

QList<QWidget*> CDtmButtonControl::boundWindows() const
{
    return {m_button.data()};
}

void CDtmButtonControl::SetCaption(const QString& text)
{
    if (m_button)
        m_button->setText(text);
}

void CDtmButtonControl::Configure(const xml::XmlNode& controlData)
{
    try {
        readToolTip(controlData, m_button);
        readEnabled(controlData);
        readTag(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration there.
    }
}

void CDtmButtonControl::ApplyEnabled()
{
    if (m_button)
        m_button->setEnabled(mayEdit());
}

void CDtmButtonControl::onClicked()
{
    if (m_clickFilter && !m_clickFilter())
        return;
    CCommandEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (dispatch(event))
        takeEventError(event);
}

}  // namespace orvx::controls
