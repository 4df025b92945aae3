#pragma once

#include "device/BusinessObjectFacets.h"
#include "device/ControlLinks.h"
#include "device/TextTable.h"
#include "hart/link/DeviceSession.h"
#include "hart/link/Endpoint.h"
#include "hart/link/Poster.h"
#include "platform/com/ComObject.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace orvx::hart {

// The business object of a positioner reached over HART: what the controls ask of the simulated
// positioner, they ask of this, and the device's own command set answers it. Parameters are read
// from the cache the link keeps, so a read never waits for the device; a write waits for the
// device's answer, at most kWriteWaitMs, and fails when it is refused or the device is out of
// reach. Methods start at once and answer through notifications, as the device sends them. The
// frame's flags (Connected, PrivateDialogs) and the pages' count are kept here. When the link is
// lost the state document turns Offline, a running method fails, and every method answers busy
// until the device is reached again. A parameter a device of another make does not have is
// answered NotImplemented, read or written, so that a page can say it is not supported.
class HartBusinessObject : public com::ComObject<device::RegistryFacet, device::CurrentFacet, device::EarlierFacet>,
                           private ISessionEvents {
public:
    static constexpr int kWriteWaitMs = 2000;

    // `poster` must outlive the object. The link starts with Start.
    HartBusinessObject(std::unique_ptr<IFrameTransport> transport, std::uint8_t pollAddress, IPoster& poster);
    ~HartBusinessObject() override;

    void Start() { m_session.start(); }
    // Stops the link; the object answers from what it last read.
    void Stop() { m_session.stop(); }
    bool IsConnected() const { return m_connected; }
    // Why the link was lost, or could not be made; empty while connected.
    const std::string& LinkProblem() const { return m_problem; }
    // As the frame's menus set them; each sends the new state document.
    void SetUserLevel(std::u16string_view level);
    void SetPrivateDialogs(bool enabled);
    void LoadTexts(std::map<std::u16string, std::u16string> texts) { m_texts.Load(std::move(texts)); }

    com::Status CloseControl(const com::BStr& callerTag) override;
    com::Status GetParameter(const com::BStr& tag, com::Variant* value) override;
    com::Status SetParameter(const com::BStr& tag, const com::Variant& value, std::uint32_t* word) override;

private:
    com::Status getText(device::Via, const com::BStr& key, com::BStr* text) override;
    com::Status getStateDocument(device::Via, com::BStr* document) override;
    com::Status registerControl(device::Via, const com::BStr& progId, const com::BStr& callerTag,
                                device::IDtmActiveXControl* control, bool write, bool* accepted) override;
    com::Status unregisterControl(device::Via, const com::BStr& callerTag, bool was, bool* result) override;

    // On the link's thread; each posts its news to the controls' thread.
    void sessionConnected(const DeviceIdentity& identity) override;
    void sessionLost(const std::string& reason) override;
    void deviceNotified(std::vector<DeviceNotification> notifications) override;
    void methodRefused(int method, std::uint8_t responseCode) override;

    void setConnected(bool connected, const std::string& problem);
    void publishState();
    void notify(std::int32_t code, const std::string& value);
    std::u16string stateDocument() const;

    // Work posted from the link's thread runs only while the object lives.
    void later(std::function<void()> work);

    IPoster& m_poster;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    ParameterCache m_cache;
    device::ControlLinks m_controls;
    device::TextTable m_texts;
    bool m_connected = false;
    bool m_privateDialogs = true;
    std::u16string m_userLevel = u"maintenance";
    long m_invalidEntries = 0;
    std::string m_problem = "not connected yet";
    std::optional<int> m_runningMethod;
    // Last: its thread calls the members above until it is stopped.
    DeviceSession m_session;
};

}  // namespace orvx::hart
