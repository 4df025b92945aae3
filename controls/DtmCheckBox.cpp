#include "DtmCheckBox.h"

#include "UIEventsImpl.h"
#include "platform/ui/PostCall.h"

#include <QCheckBox>

namespace orvx::controls {

void CDtmCheckBox::Attach(QCheckBox* box)
{
    m_box = box;
    if (box)
        connect(box, &QCheckBox::clicked, this,
                [this](bool checked) { ui::runGuarded("check box click", [&] { onClicked(checked); }); });
}

void CDtmCheckBox::Configure(const xml::XmlNode& controlData)
{
    try {
        readTag(controlData);
        readToolTip(controlData, m_box);
        readModeUi(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration there.
    }
}

void CDtmCheckBox::Refresh()
{
    if (!m_box)
        return;
    CCheckBoxEventImpl event(EventCheckBoxGet, GetViewId(), GetControlId(), GetTag(), m_box->isChecked() ? 1 : 0);
    if (!dispatch(event))
        return;
    takeEventError(event);
    if (!event.IsError())
        m_box->setChecked(event.GetChecked() != 0);  // raises no clicked: nothing is written back
}

void CDtmCheckBox::ApplyEnabled()
{
    if (m_box)
        m_box->setEnabled(mayEdit());
}

QList<QWidget*> CDtmCheckBox::modeWindows() const
{
    return {m_box.data()};
}

void CDtmCheckBox::onClicked(bool checked)
{
    CCheckBoxEventImpl event(EventCheckBoxSet, GetViewId(), GetControlId(), GetTag(), checked ? 1 : 0);
    if (dispatch(event))
        takeEventError(event);
}

}  // namespace orvx::controls
