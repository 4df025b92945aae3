#include "DtmRadioControl.h"

#include "Conversions.h"
#include "UIEventsImpl.h"
#include "platform/ui/PostCall.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace orvx::controls {

void CDtmRadioControl::Attach(const QList<std::pair<QRadioButton*, int>>& buttons)
{
    for (const auto& button : buttons) {
        // Named copies: clang 14 cannot capture structured bindings.
        QRadioButton* const window = button.first;
        const int value = button.second;
        if (!window)
            continue;
        m_buttons.append({window, value});
        // Qt raises clicked also for a click on the button already checked: that click writes too.
        connect(window, &QRadioButton::clicked, this,
                [this, value] { ui::runGuarded("radio button click", [&] { onClicked(value); }); });
    }
}

void CDtmRadioControl::Configure(const xml::XmlNode& controlData)
{
    try {
        if (const auto value = attribute(controlData, "value")) {
            m_value = CConversions::to_ulong(*value, 10);
            check(m_value);
        }
        readTag(controlData);
        readModeUi(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration there.
    }
}

void CDtmRadioControl::Refresh()
{
    CRadioGetEventImpl event(GetViewId(), GetControlId(), GetTag());
    if (!dispatch(event))
        return;
    takeEventError(event);
    if (event.IsError())
        return;
    m_value = event.GetValue();
    uncheckAll();
    check(m_value);
}

void CDtmRadioControl::ApplyEnabled()
{
    const bool enable = mayEdit();
    for (const Button& button : m_buttons)
        if (button.window)
            button.window->setEnabled(enable);
}

QList<QWidget*> CDtmRadioControl::modeWindows() const
{
    QList<QWidget*> windows;
    for (const Button& button : m_buttons)
        windows.append(button.window.data());
    return windows;
}

void CDtmRadioControl::onClicked(int value)
{
    if (value < 0)
        return;
    m_value = static_cast<std::uint32_t>(value);
    CRadioSetEventImpl event(GetViewId(), GetControlId(), GetTag(), value);
    if (dispatch(event))
        takeEventError(event);
}

void CDtmRadioControl::check(std::int64_t value)
{
    for (const Button& button : m_buttons)
        if (button.window && button.value >= 0 && button.value == value)
            button.window->setChecked(true);
}

void CDtmRadioControl::uncheckAll()
{
    // An exclusive button refuses to be unchecked by the program, so exclusivity is lifted for
    // the moment of writing, whether it comes from a button group or from the shared parent.
    for (const Button& button : m_buttons) {
        QRadioButton* window = button.window;
        if (!window || !window->isChecked())
            continue;
        QButtonGroup* group = window->group();
        const bool groupExclusive = group && group->exclusive();
        const bool autoExclusive = window->autoExclusive();
        if (groupExclusive)
            group->setExclusive(false);
        window->setAutoExclusive(false);
        window->setChecked(false);
        window->setAutoExclusive(autoExclusive);
        if (groupExclusive)
            group->setExclusive(true);
    }
}

}  // namespace orvx::controls
