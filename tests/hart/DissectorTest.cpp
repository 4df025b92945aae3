// Our frames read by a decoder no one here wrote: Wireshark's HART-IP dissector, through tshark.
// Skipped where tshark is not installed; scripts/bootstrap installs it.
#include "PcapFile.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/Pdu.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace orvx::hart {
namespace {

using test::PcapFile;

constexpr const char* kFields[] = {
    "hart_ip.message_type",
    "hart_ip.message_id",
    "hart_ip.transaction_id",
    "hart_ip.msg_length",
    "hart_ip.pt.command",
    "hart_ip.pt.response_code",
    "hart_ip.pt.rsp.device_id",
    "hart_ip.pt.rsp.expanded_device_type",
    "hart_ip.pt.rsp.device_rev",
    "hart_ip.pt.rsp.hart_univ_rev",
    "hart_ip.pt.rsp.tag",
    "hart_ip.session_init.inactivity_close_timer",
    "hart_ip.pt.rsp.pv_units",
    "hart_ip.pt.rsp.pv_loop_current",
    "hart_ip.pt.rsp.tv_units",
    "hart_ip.pt.rsp.ext_device_status",
    "_ws.malformed",
};
enum Field {
    Type,
    Id,
    Sequence,
    Length,
    Command,
    ResponseCodeField,
    DeviceId,
    DeviceType,
    DeviceRev,
    Universal,
    Tag,
    Timer,
    PvUnits,
    LoopCurrentField,
    TvUnits,
    ExtendedStatus,
    Malformed,
    FieldCount
};

using Row = std::vector<std::string>;

bool haveTshark()
{
    return std::system("command -v tshark >/dev/null 2>&1") == 0;
}

std::vector<Row> decodeWithTshark(const std::string& capture)
{
    std::string command = "tshark -n -r '" + capture + "' -Y hart_ip -T fields -E separator=/t -E occurrence=f";
    for (const char* field : kFields)
        command += std::string(" -e ") + field;
    command += " 2>/dev/null";
    std::vector<Row> rows;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return rows;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe)) {
        Row row;
        std::stringstream fields(std::string(line).substr(0, std::string(line).find('\n')));
        for (std::string field; std::getline(fields, field, '\t');)
            row.push_back(field);
        row.resize(FieldCount);
        rows.push_back(row);
    }
    ::pclose(pipe);
    return rows;
}

DeviceIdentity positioner()
{
    DeviceIdentity identity;
    identity.expandedDeviceType = 0xE4A1;
    identity.deviceRevision = 3;
    identity.softwareRevision = 12;
    identity.deviceId = 0x0A1B2C;
    identity.manufacturerId = 0x6021;
    return identity;
}

Bytes wrap(MessageType type, MessageId id, std::uint16_t sequence, const Bytes& body)
{
    HartIpHeader header;
    header.type = type;
    header.id = id;
    header.sequence = sequence;
    return encodeMessage(header, body).value();
}

Bytes frame(FrameType type, const Address& address, std::uint8_t command, const Bytes& data)
{
    Pdu pdu;
    pdu.type = type;
    pdu.address = address;
    pdu.command = command;
    pdu.data = data;
    return encodePdu(pdu).value();
}

struct Sent {
    bool fromClient;
    Bytes bytes;
};

// The universal commands a configuration tool asks after the tag, each request and its reply,
// from sequence number 4 on.
std::vector<Sent> universalExchanges(const Address& address)
{
    AdditionalStatus status;
    status.deviceSpecific[0] = 0x08;
    status.extendedDeviceStatus = 0x01;
    const std::pair<std::uint8_t, std::pair<Bytes, Bytes>> exchanges[] = {
        {universal_command::ReadPrimaryVariable, {{}, encodePrimaryVariable({unit_code::Percent, 42.5f})}},
        {universal_command::ReadLoopCurrentAndPercent, {{}, encodeLoopCurrent({12.0f, 50.0f})}},
        {universal_command::ReadDynamicVariables,
         {{},
          encodeDynamicVariables({12.0f, {{57, 42.5f}, {57, 50.0f}, {unit_code::Bar, 1.5f}, {unit_code::Bar, 4.0f}}})
              .value()}},
        {universal_command::WritePollingAddress, {{3, 0}, {3, 0}}},
        {universal_command::ReadLoopConfiguration, {{}, encodeLoopConfiguration({3, false})}},
        {universal_command::ResetConfigurationChanged, {{}, {}}},
        {universal_command::ReadAdditionalStatus, {{}, encodeAdditionalStatus(status).value()}},
    };
    std::vector<Sent> sent;
    std::uint16_t sequence = 4;
    for (const auto& [command, data] : exchanges) {
        sent.push_back({true, wrap(MessageType::Request, MessageId::TokenPassingPdu, sequence,
                                   frame(FrameType::Request, address, command, data.first))});
        sent.push_back({false, wrap(MessageType::Response, MessageId::TokenPassingPdu, sequence++,
                                    frame(FrameType::Response, address, command, data.second))});
    }
    return sent;
}

// A session as a configuration tool holds it: open, identify, read the tag and the universal
// commands after it, keep alive, close.
std::vector<Sent> session()
{
    const DeviceIdentity identity = positioner();
    const Bytes open = encodeSessionInitiate({true, 30000});
    const Bytes tag = encodeTagDescriptorDate({"FV-101", "ESD INLET", {7, 12, 2026}}).value();
    using T = MessageType;
    using I = MessageId;
    std::vector<Sent> sent = {
        {true, wrap(T::Request, I::SessionInitiate, 1, open)},
        {false, wrap(T::Response, I::SessionInitiate, 1, open)},
        {true, wrap(T::Request, I::TokenPassingPdu, 2, frame(FrameType::Request, Address::poll(0), 0, {}))},
        {false, wrap(T::Response, I::TokenPassingPdu, 2,
                     frame(FrameType::Response, Address::poll(0), 0, encodeIdentity(identity).value()))},
        {true, wrap(T::Request, I::TokenPassingPdu, 3, frame(FrameType::Request, identity.longAddress(), 13, {}))},
        {false, wrap(T::Response, I::TokenPassingPdu, 3, frame(FrameType::Response, identity.longAddress(), 13, tag))},
    };
    const std::vector<Sent> universal = universalExchanges(identity.longAddress());
    sent.insert(sent.end(), universal.begin(), universal.end());
    const auto next = static_cast<std::uint16_t>(4 + universal.size() / 2);
    sent.push_back({true, wrap(T::Request, I::KeepAlive, next, {})});
    sent.push_back({false, wrap(T::Response, I::KeepAlive, next, {})});
    sent.push_back({true, wrap(T::Request, I::SessionClose, next + 1, {})});
    sent.push_back({false, wrap(T::Response, I::SessionClose, next + 1, {})});
    return sent;
}

class Dissector : public ::testing::TestWithParam<PcapFile::Transport> {
protected:
    void SetUp() override
    {
        if (!haveTshark())
            GTEST_SKIP() << "tshark is not installed";
        m_capture = (::testing::TempDir() + "hart-session-") + std::to_string(::getpid()) + ".pcap";
    }
    void TearDown() override { std::remove(m_capture.c_str()); }

    std::string m_capture;
};

TEST_P(Dissector, ReadsOurSessionAsWeSentIt)
{
    const std::vector<Sent> sent = session();
    {
        PcapFile capture(m_capture, GetParam());
        ASSERT_TRUE(capture.ok());
        for (const Sent& s : sent)
            s.fromClient ? capture.fromClient(s.bytes) : capture.fromServer(s.bytes);
    }
    const std::vector<Row> rows = decodeWithTshark(m_capture);
    ASSERT_EQ(rows.size(), sent.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HartIpMessage ours = decodeMessage(sent[i].bytes).value();
        const Row& theirs = rows[i];
        EXPECT_EQ(theirs[Malformed], "") << "message " << i;
        EXPECT_EQ(theirs[Type], std::to_string(static_cast<int>(ours.header.type))) << i;
        EXPECT_EQ(theirs[Id], std::to_string(static_cast<int>(ours.header.id))) << i;
        EXPECT_EQ(theirs[Sequence], std::to_string(ours.header.sequence)) << i;
        EXPECT_EQ(theirs[Length], std::to_string(sent[i].bytes.size())) << i;
        if (ours.header.id == MessageId::TokenPassingPdu) {
            const Pdu pdu = decodePdu(ours.body).value();
            EXPECT_EQ(theirs[Command], std::to_string(pdu.command)) << i;
            EXPECT_EQ(theirs[ResponseCodeField], pdu.hasStatus() ? "0" : "") << i;
        }
    }
    EXPECT_EQ(rows[0][Timer], "30000");
    EXPECT_EQ(rows[3][DeviceId], "0a1b2c");
    EXPECT_EQ(rows[3][DeviceType], "0xe4a1");
    EXPECT_EQ(rows[3][DeviceRev], "3");
    EXPECT_EQ(rows[3][Universal], "7");
    EXPECT_EQ(rows[5][Tag], "FV-101  ");
    // The replies of the universal exchanges, from the seventh message on.
    const auto reply = [&](std::size_t exchange) { return rows.at(6 + 2 * exchange + 1); };
    EXPECT_EQ(reply(0)[PvUnits], "57");
    EXPECT_EQ(reply(1)[LoopCurrentField], "12");
    EXPECT_EQ(reply(2)[PvUnits], "57");
    EXPECT_EQ(reply(2)[TvUnits], "7");
    EXPECT_EQ(reply(6)[ExtendedStatus], "0x01");
}

INSTANTIATE_TEST_SUITE_P(Transports, Dissector, ::testing::Values(PcapFile::Transport::Udp, PcapFile::Transport::Tcp),
                         [](const auto& info) { return info.param == PcapFile::Transport::Udp ? "Udp" : "Tcp"; });

}  // namespace
}  // namespace orvx::hart
