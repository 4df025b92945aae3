#include "LinkedDevice.h"

#include "hart/link/HartBusinessObject.h"
#include "hart/link/Transports.h"
#include "platform/com/ComObject.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace orvx::frame {

std::unique_ptr<LinkedDevice> LinkedDevice::Make(const std::string& address, std::string& error,
                                                 const std::string& keyFile)
{
    const hart::Decoded<hart::Endpoint> endpoint = hart::parseEndpoint(address);
    if (!endpoint) {
        error = "'" + address + "': " + endpoint.refusal().reason;
        return nullptr;
    }
    const bool tls = endpoint->transport == hart::Endpoint::Transport::Tls;
    if (tls == keyFile.empty()) {
        error = tls ? "'" + address + "' is reached over TLS: give its pre-shared key with --psk FILE"
                    : "--psk is for a device at hart-ip+tls://HOST[:PORT][/POLL], not '" + address + "'";
        return nullptr;
    }
    std::optional<hart::PresharedKey> key;
    if (tls) {
        hart::Decoded<hart::PresharedKey> read = hart::readPresharedKey(keyFile);
        if (!read) {
            error = read.refusal().reason;
            return nullptr;
        }
        key = std::move(read).value();
    }
    std::unique_ptr<LinkedDevice> device(new LinkedDevice(QString::fromStdString(endpoint->text())));
    device->m_keyFile = QString::fromStdString(keyFile);
    device->m_link = com::makeComObject<hart::HartBusinessObject>(hart::makeTransport(endpoint.value(), std::move(key)),
                                                                  endpoint->pollAddress, device->m_poster);
    return device;
}

LinkedDevice::LinkedDevice(QString address) : m_address(std::move(address)) {}

LinkedDevice::~LinkedDevice()
{
    m_link->Stop();
}

com::IUnknown* LinkedDevice::BusinessObject()
{
    return m_link->identity();
}

void LinkedDevice::Connect()
{
    m_link->Start();
}

void LinkedDevice::Disconnect()
{
    m_link->Stop();
}

void LinkedDevice::SetPrivateDialogs(bool enabled)
{
    m_link->SetPrivateDialogs(enabled);
}

void LinkedDevice::SetUserLevel(std::u16string_view level)
{
    m_link->SetUserLevel(level);
}

QString LinkedDevice::Status()
{
    if (m_link->IsConnected())
        return {};
    return QStringLiteral("Device not reached: %1").arg(QString::fromStdString(m_link->LinkProblem()));
}

bool LinkedDevice::WaitConnected(int timeoutMs, QEventLoop::ProcessEventsFlags events)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_link->IsConnected() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(events, 50);
        QThread::msleep(10);
    }
    return m_link->IsConnected();
}

}  // namespace orvx::frame
