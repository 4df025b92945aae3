#include "SimulatedDevice.h"

#include "device/Vocabulary.h"
#include "simulator/SimulatedPositioner.h"

namespace orvx::frame {

com::IUnknown* SimulatedDevice::BusinessObject()
{
    return m_device.identity();
}

void SimulatedDevice::Connect()
{
    m_device.Connect();
}

void SimulatedDevice::Disconnect()
{
    m_device.Disconnect();
}

void SimulatedDevice::SetPrivateDialogs(bool enabled)
{
    m_device.SetPrivateDialogs(enabled);
}

void SimulatedDevice::SetUserLevel(std::u16string_view level)
{
    m_device.SetUserLevel(level);
}

QString SimulatedDevice::Status()
{
    const auto running = m_device.RunningOperation();
    const device::Method* method = running ? device::findMethod(running->method) : nullptr;
    if (!method)
        return {};
    return QStringLiteral("%1 running: %2 s")
        .arg(QString::fromUtf8(method->title.data(), qsizetype(method->title.size())))
        .arg(running->elapsedMs / 1000);
}

}  // namespace orvx::frame
