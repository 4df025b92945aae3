#pragma once

#include "FrameDevice.h"
#include "QtPoster.h"
#include "platform/com/ComPtr.h"

#include <QEventLoop>

#include <memory>
#include <string>

namespace orvx::hart {
class HartBusinessObject;
}

namespace orvx::frame {

// A positioner over the HART link, at the address the user gave: `hart-ip://HOST[:PORT][/POLL]`,
// `serial://PATH[/POLL]`, or `hart-ip+tls://...` with the pre-shared key in a key file.
class LinkedDevice : public FrameDevice {
public:
    // Null, with the reason in `error`, for an address that is no device address, a TLS address
    // without a key file, a key file with another address, or a key file that cannot be read.
    static std::unique_ptr<LinkedDevice> Make(const std::string& address, std::string& error,
                                              const std::string& keyFile = {});
    ~LinkedDevice() override;

    com::IUnknown* BusinessObject() override;
    QString Describe() const override { return m_address; }
    // The key file of a hart-ip+tls:// device; empty for any other.
    const QString& KeyFile() const { return m_keyFile; }
    void Connect() override;
    void Disconnect() override;
    void SetPrivateDialogs(bool enabled) override;
    void SetUserLevel(std::u16string_view level) override;
    QString Status() override;
    // Waits, handling the link's news, until the device is reached or `timeoutMs` passed.
    bool WaitConnected(int timeoutMs, QEventLoop::ProcessEventsFlags events = QEventLoop::AllEvents);
    hart::HartBusinessObject& Link() { return *m_link; }

private:
    explicit LinkedDevice(QString address);

    QString m_address;
    QString m_keyFile;
    QtPoster m_poster;
    com::ComPtr<hart::HartBusinessObject> m_link;
};

}  // namespace orvx::frame
