#include "ControlLinks.h"

#include "IUpdateUI.h"
#include "platform/com/ComError.h"

#include <algorithm>
#include <iterator>

namespace orvx::device {

void ControlLinks::Register(const com::BStr& callerTag, IDtmActiveXControl* control)
{
    const com::ComPtr<IDtmActiveXControl> reference(control);
    std::erase_if(m_controls, [&](const Registration& r) { return r.control == reference; });
    m_controls.push_back(Registration{callerTag, reference});
}

com::ComPtr<IDtmActiveXControl> ControlLinks::Unregister(const com::BStr& callerTag)
{
    const auto it = std::find_if(m_controls.rbegin(), m_controls.rend(),
                                 [&](const Registration& r) { return r.callerTag == callerTag; });
    if (it == m_controls.rend())
        return nullptr;
    com::ComPtr<IDtmActiveXControl> dropped = std::move(it->control);
    m_controls.erase(std::next(it).base());
    return dropped;
}

void ControlLinks::Notify(std::int32_t code, const std::string& value)
{
    NotifyAll(code, value.empty() ? com::Variant() : com::Variant::text(com::BStr::fromUtf8(value)));
}

void ControlLinks::NotifyAll(std::int32_t code, const com::Variant& value) const
{
    const std::vector<Registration> controls = m_controls;  // a control may unregister when told
    for (const Registration& registration : controls) {
        const bool stillRegistered = std::any_of(m_controls.begin(), m_controls.end(), [&](const Registration& r) {
            return r.control == registration.control;
        });
        if (!stillRegistered)
            continue;
        try {
            if (const auto update = com::queryInterface<IUpdateUI>(registration.control))
                update->Notify(code, value);
        } catch (const com::ComError&) {
            // A control that cannot be asked for its callback is not told.
        }
    }
}

}  // namespace orvx::device
