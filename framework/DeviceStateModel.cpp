#include "DeviceStateModel.h"

#include "device/DeviceNames.h"
#include "frameworkapi/ParameterRead.h"

namespace orvx::framework {

CDeviceStateModel::CDeviceStateModel(IUIController& device) : m_device(device) {}

CDeviceStateModel::Hold::Hold(CDeviceStateModel& model)
    : m_model(model), m_outer(model.m_held), m_outerDialogs(model.m_heldDialogs)
{
    // A notification inside another is news of its own: it is derived again, and the outer one
    // goes on with what it held before.
    const DeviceState now = model.derive();
    m_changed = !model.m_lastNotified || *model.m_lastNotified != now;
    model.m_lastNotified = now;
    model.m_held = now;
    model.m_heldDialogs.reset();
    ++model.m_holds;
}

CDeviceStateModel::Hold::~Hold()
{
    --m_model.m_holds;
    m_model.m_held = m_outer;
    m_model.m_heldDialogs = m_outerDialogs;
}

DeviceState CDeviceStateModel::Current()
{
    return Holding() ? m_held : derive();
}

bool CDeviceStateModel::PrivateDialogs()
{
    if (Holding() && m_heldDialogs)
        return *m_heldDialogs;
    const bool allowed =
        m_linked &&
        readParameter(&m_device, device::tagText<device::tag::PrivateDialogs>(), &com::Variant::toBool).value_or(true);
    if (Holding())
        m_heldDialogs = allowed;
    return allowed;
}

DeviceState CDeviceStateModel::derive()
{
    DeviceState state;
    state.connected =
        m_linked &&
        readParameter(&m_device, device::tagText<device::tag::Connected>(), &com::Variant::toBool).value_or(true);
    if (!state.connected) {
        state.mode = ModeDisconnected;
        return state;
    }
    // A state or mode that cannot be read is no mode at all: taken for Setup it would open the
    // pages that stroke the valve.
    const auto deviceState = readParameter(&m_device, device::tagText<device::tag::DeviceState>(),
                                           &com::Variant::toUInt32);
    if (!deviceState)
        return state;
    state.failHigh = *deviceState == 64;
    switch (*deviceState) {
    case 0:
    case 64: state.mode = deriveMode(); break;
    case 1: state.mode = ModeLowPower; break;
    case 2: state.mode = ModeFailSafe; break;
    case 4: state.mode = ModeFatal; break;
    case 128: state.mode = ModeMarginalPower; break;
    default: state.mode = ModeSetup; break;
    }
    return state;
}

std::uint32_t CDeviceStateModel::deriveMode()
{
    const auto mode = readParameter(&m_device, device::tagText<device::tag::Mode>(), &com::Variant::toUInt32);
    if (!mode)
        return ModeUndetermined;
    switch (*mode) {
    case 1: return ModeManual;
    case 3: return ModeNormal;
    default: return ModeSetup;
    }
}

}  // namespace orvx::framework
