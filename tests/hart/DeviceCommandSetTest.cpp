#include "hart/commands/CommandSetTable.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/commands/ValueCodec.h"
#include "hart/protocol/Pdu.h"
#include "hart/server/NotificationLog.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace orvx::hart {
namespace {

namespace p = device::parameter;

TEST(ValueCodec, RefusesTextsThatAreNoValueOfTheType)
{
    struct Case {
        const device::Parameter& parameter;
        std::string text;
    };
    const std::vector<Case> cases = {
        {p::PstTravel, "ten"},
        {p::PstTravel, "1e39"},            // no single float holds it
        {p::TuningP, "2147483648"},        // past a signed integer
        {p::DeviceCounter, "4294967296"},  // past an unsigned one
        {p::DeviceCounter, "-1"},
        {p::Mode, "256"},  // a code is one byte
        {p::EsdTripped, "2"},
        {p::DeviceDate, "256-1-1"},  // a year past 2155
        {p::DeviceDate, "124-13-1"},
        {p::CurrentFaults, "00112233445566778"},  // seventeen digits
        {p::Message, std::string(65, 'A')},
        {p::FillCurve, "1@2"},  // curves have their own command
    };
    for (const Case& c : cases)
        EXPECT_FALSE(encodeValue(c.parameter, c.text)) << c.parameter.name << " " << c.text;
}

TEST(ValueCodec, EachTypeHasItsBytes)
{
    struct Case {
        const device::Parameter& parameter;
        const char* text;
        Bytes bytes;
    };
    const std::vector<Case> cases = {
        {p::PstTravel, "12.5", {0x41, 0x48, 0x00, 0x00}},
        {p::TuningPAdjust, "-5", {0xFF, 0xFF, 0xFF, 0xFB}},
        {p::DeviceCounter, "4294967295", {0xFF, 0xFF, 0xFF, 0xFF}},
        {p::DeviceState, "128", {0x80}},
        {p::EsdTripped, "1", {0x01}},
        {p::DeviceDate, "124-5-20", {20, 5, 124}},
        {p::CurrentFaults, "0102030405060708FF", {1, 2, 3, 4, 5, 6, 7, 8, 0xFF}},
        {p::DeviceTag, "PV-101", {6, 'P', 'V', '-', '1', '0', '1'}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeValue(c.parameter, c.text).value(), c.bytes) << c.parameter.name;
        ByteReader in(c.bytes);
        EXPECT_EQ(decodeValue(c.parameter, in).value(), c.text) << c.parameter.name;
        ByteReader shorter(ByteView(c.bytes).first(c.bytes.size() - 1));
        EXPECT_FALSE(decodeValue(c.parameter, shorter)) << c.parameter.name;
    }
    const Bytes two{2};
    ByteReader badFlag(two);
    EXPECT_FALSE(decodeValue(p::EsdTripped, badFlag));
}

// Every parameter the positioner holds travels, and comes back as the same value: a tag added
// to the vocabulary cannot be left out of the link.
TEST(ValueCodec, EveryParameterOfThePositionerTravelsAndComesBack)
{
    simulator::ManualScheduler scheduler;
    auto positioner = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
    for (const device::Parameter* parameter : device::parameters()) {
        com::Variant value;
        ASSERT_EQ(positioner->GetParameter(com::BStr::fromUtf8(std::string(parameter->tag)), &value), com::Status::Ok)
            << parameter->name;
        const std::string text = value.toText().toUtf8();
        if (parameter->type == device::ValueType::Curve) {
            EXPECT_EQ(curveText(curvePoints(text).value()).empty(), text.empty()) << parameter->name;
            continue;
        }
        const Decoded<Bytes> reply = parameterReply(*parameter, text);
        ASSERT_TRUE(reply) << parameter->name << " " << text << ": " << reply.refusal().reason;
        const std::string back = decodeParameterReply(*parameter, reply.value()).value();
        if (parameter->type == device::ValueType::Decimal)
            EXPECT_NEAR(std::stod(back), std::stod(text), 1e-6 * std::abs(std::stod(text))) << parameter->name;
        else
            EXPECT_EQ(back, text) << parameter->name;
    }
}

TEST(DeviceCommandSet, RefusesRepliesAboutAnotherParameterOrPastTheirEnd)
{
    EXPECT_FALSE(decodeParameterReply(p::PstSpeed, parameterReply(p::PstTravel, "10").value()));
    EXPECT_FALSE(decodeParameterReply(p::PstTravel, Bytes{0x3E}));
    EXPECT_FALSE(decodeMethod(Bytes{77}));
    EXPECT_FALSE(decodeMethod(Bytes{}));

    CurveSegment segment{20, 15, std::vector<CurvePoint>(6, CurvePoint{1, 2})};
    EXPECT_FALSE(decodeCurveSegmentReply(p::FillCurve, curveSegmentReply(p::FillCurve, segment)));
    segment.first = 14;
    EXPECT_TRUE(decodeCurveSegmentReply(p::FillCurve, curveSegmentReply(p::FillCurve, segment)));
    EXPECT_FALSE(decodeCurveSegmentReply(p::ExhaustCurve, curveSegmentReply(p::FillCurve, segment)));

    for (const char* bad : {"1@", "1@2@3", "a@b", "@"})
        EXPECT_FALSE(curvePoints(bad)) << bad;
    EXPECT_EQ(curveText(curvePoints("15.25@90@-1@0.5").value()), "15.25@90@-1@0.5");
}

TEST(DeviceCommandSet, NotificationsFillOneReplyAndAreAskedForFromWhereTheReaderStopped)
{
    auto log = com::makeComObject<NotificationLog>();
    for (int i = 0; i < 40; ++i)
        log->Notify(500 + i, com::Variant::text(com::BStr::fromUtf8(std::string(20, 'x'))));
    EXPECT_EQ(log->since(35).size(), 5u);
    EXPECT_EQ(log->since(40).size(), 0u);
    EXPECT_EQ(log->since(60000).size(), 40u);  // from before the oldest kept: all that are kept

    const Bytes reply = notificationsReply(log->since(0), log->nextSequence());
    EXPECT_LE(reply.size(), kMaxResponseData);
    const NotificationBatch batch = decodeNotificationsReply(reply).value();
    ASSERT_EQ(batch.notifications.size(), 9u);  // 3 + 9 * (7 + 20) bytes fill 246 of 253
    EXPECT_EQ(batch.notifications[8].code, 508);
    EXPECT_EQ(batch.nextSequence, 40);
    EXPECT_FALSE(decodeNotificationsReply(ByteView(reply).first(reply.size() - 1)));

    for (int i = 0; i < 300; ++i)
        log->Notify(1, {});
    EXPECT_EQ(log->since(0).size(), NotificationLog::kKept);
    EXPECT_EQ(log->since(0).front().sequence, 340 - NotificationLog::kKept);
}

// The command set's document says what the vocabulary makes of it; when a parameter is added,
// `orvx-hart-device --tables` prints the tables to paste.
TEST(CommandSetDocument, HoldsTheTablesTheVocabularyMakes)
{
    std::ifstream file(ORVX_SOURCE_DIR "/docs/hart-command-set.md");
    ASSERT_TRUE(file) << "docs/hart-command-set.md is missing";
    std::stringstream document;
    document << file.rdbuf();
    const std::string text = document.str();
    const std::string start = "by orvx-hart-device --tables -->\n";
    const std::size_t from = text.find(start);
    const std::size_t to = text.find("<!-- end of tables -->");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(text.substr(from + start.size(), to - from - start.size()), commandSetTables());
}

}  // namespace
}  // namespace orvx::hart
