#include "LinkSupport.h"
#include "device/IDtmUiRegistry.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/link/HartBusinessObject.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"
#include "hart/server/DeviceResponder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

namespace orvx::hart {
namespace {

namespace p = device::parameter;
namespace uc = universal_command;
using com::BStr;
using com::Status;
using com::Variant;

// A HART device of another make: the universal commands 0, 3, 6, 12, 13, 16 and 17, and
// "command not implemented" for everything else, the positioner's own commands among them.
class OtherMakeDevice : public IServedDevice {
public:
    explicit OtherMakeDevice(std::uint16_t type) : m_type(type) {}

    std::uint8_t pollAddress() const override { return m_poll; }
    DeviceIdentity identity() override
    {
        DeviceIdentity identity;
        identity.expandedDeviceType = m_type;
        identity.deviceId = 0x123456;
        identity.deviceRevision = 3;
        return identity;
    }
    bool answer(const Pdu& request, Pdu& response) override
    {
        const std::lock_guard lock(mutex);
        asked.insert(request.command);
        switch (request.command) {
        case uc::ReadUniqueIdentifier: response.data = encodeIdentity(identity()).value(); break;
        case uc::ReadDynamicVariables:
            response.data =
                encodeDynamicVariables({12.0f, {{unit_code::Percent, pv}, {unit_code::Psi, 30.0f}}}).value();
            break;
        case uc::WritePollingAddress:
            m_poll = request.data.at(0);
            response.data = request.data;
            break;
        case uc::ReadMessage: response.data = encodeMessageText(message).value(); break;
        case uc::WriteMessage:
            message = decodeMessageText(request.data).value();
            response.data = request.data;
            break;
        case uc::ReadTagDescriptorDate:
            response.data = encodeTagDescriptorDate({"TT-300", "OTHER MAKE", HartDate{1, 6, 2020}}).value();
            break;
        case uc::ReadFinalAssemblyNumber: response.data = encodeFinalAssemblyNumber(777).value(); break;
        default: response.responseCode = response::NotImplemented; break;
        }
        return true;
    }
    void advance(std::uint64_t) override {}

    std::mutex mutex;
    float pv = 42.5f;
    std::string message = "MADE ELSEWHERE";
    std::set<std::uint8_t> asked;

private:
    std::uint16_t m_type;
    std::uint8_t m_poll = 0;
};

// Frames straight to a responder in the test's process.
class InProcessTransport : public IFrameTransport {
public:
    explicit InProcessTransport(DeviceResponder& responder) : m_responder(responder) {}
    bool open(std::string&) override { return true; }
    Decoded<Bytes> exchange(const Bytes& frame, int) override
    {
        const Decoded<Pdu> request = decodePdu(frame);
        if (!request)
            return request.refusal();
        const std::optional<Pdu> response = m_responder.respond(request.value());
        if (!response)
            return refuse(0, "no answer");
        return encodePdu(*response);
    }
    bool isOpen() const override { return true; }
    void close() override {}

private:
    DeviceResponder& m_responder;
};

// Another expanded device type, or the positioner's own type in a device that implements none
// of its commands: either way the link reads it through the universal commands.
class OtherMake : public ::testing::TestWithParam<std::uint16_t> {
protected:
    void SetUp() override
    {
        std::vector<std::unique_ptr<IServedDevice>> devices;
        devices.push_back(std::make_unique<OtherMakeDevice>(GetParam()));
        m_responder = std::make_unique<DeviceResponder>(std::move(devices));
        m_object = com::makeComObject<HartBusinessObject>(std::make_unique<InProcessTransport>(*m_responder), 0,
                                                          m_poster);
        m_object->Start();
        ASSERT_TRUE(waitFor([&] { return m_object->IsConnected(); })) << m_object->LinkProblem();
    }
    void TearDown() override { m_object->Stop(); }
    template <class F>
    bool waitFor(F done, int ms = 4000)
    {
        return m_poster.runUntil(done, ms);
    }
    Status get(const device::Parameter& parameter, std::string& text)
    {
        Variant value;
        const Status status = m_object->GetParameter(BStr::fromUtf8(std::string(parameter.tag)), &value);
        text = com::succeeded(status) ? value.toText().toUtf8() : std::string();
        return status;
    }
    std::string get(const device::Parameter& parameter)
    {
        std::string text;
        EXPECT_EQ(get(parameter, text), Status::Ok) << parameter.name;
        return text;
    }
    Status set(const device::Parameter& parameter, const char* text)
    {
        std::uint32_t word = 0;
        return m_object->SetParameter(BStr::fromUtf8(std::string(parameter.tag)), Variant::text(BStr::fromUtf8(text)),
                                      &word);
    }
    OtherMakeDevice& device() { return static_cast<OtherMakeDevice&>(m_responder->device(0)); }

    QueuedPoster m_poster;
    std::unique_ptr<DeviceResponder> m_responder;
    com::ComPtr<HartBusinessObject> m_object;
};

TEST_P(OtherMake, TheDevicesOwnParametersAreNotSupported)
{
    std::string text;
    for (const device::Parameter* parameter : {&p::PstTravel, &p::Mode, &p::CurrentFaults, &p::ConfiguredTag}) {
        EXPECT_EQ(get(*parameter, text), Status::NotImplemented) << parameter->name;
        EXPECT_EQ(set(*parameter, "1"), Status::NotImplemented) << parameter->name;
    }
    EXPECT_EQ(get(p::Connected), "1");
    const std::lock_guard lock(device().mutex);
    EXPECT_FALSE(device().asked.contains(device_command::WriteParameter));
}

TEST_P(OtherMake, ShowsWhatTheUniversalCommandsGive)
{
    EXPECT_EQ(get(p::DeviceTag), "TT-300");
    EXPECT_EQ(get(p::Descriptor), "OTHER MAKE");
    EXPECT_EQ(get(p::DeviceDate), "120-6-1");
    EXPECT_EQ(get(p::Message), "MADE ELSEWHERE");
    EXPECT_EQ(get(p::FinalAssemblyNumber), "777");
    EXPECT_EQ(get(p::PollingAddress), "0");  // no command 7: where it was found
    EXPECT_EQ(get(p::DeviceId), std::to_string(0x123456));
    EXPECT_EQ(get(p::FieldDeviceRevision), "3");
    EXPECT_EQ(get(p::Position), "42.5");
    EXPECT_EQ(get(p::InputSignal), "12");

    {
        const std::lock_guard lock(device().mutex);
        device().pv = 57.25f;
    }
    EXPECT_TRUE(waitFor([&] { return get(p::Position) == "57.25"; }));
}

TEST_P(OtherMake, PollAddressAndMessageAreWrittenByUniversalCommands)
{
    EXPECT_EQ(set(p::PollingAddress, "64"), Status::InvalidArgument);
    EXPECT_EQ(device().pollAddress(), 0);
    EXPECT_EQ(set(p::PollingAddress, "5"), Status::Ok);
    EXPECT_EQ(device().pollAddress(), 5);
    EXPECT_EQ(get(p::PollingAddress), "5");
    EXPECT_EQ(set(p::Message, "moved to five"), Status::Ok);
    EXPECT_EQ(get(p::Message), "MOVED TO FIVE");
    const std::lock_guard lock(device().mutex);
    EXPECT_EQ(device().message, "MOVED TO FIVE");
}

INSTANTIATE_TEST_SUITE_P(Types, OtherMake, ::testing::Values(std::uint16_t{0x26C1}, kPositionerDeviceType),
                         [](const auto& info) {
                             return info.param == kPositionerDeviceType ? "SameType" : "OtherType";
                         });

}  // namespace
}  // namespace orvx::hart
