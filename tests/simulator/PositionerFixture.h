#pragma once

// The simulated positioner under a manual clock, with a control registered that records what
// it is told.

#include "device/IUpdateUI.h"
#include "simulator/FaultSet.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace orvx::simtest {

using com::BStr;
using com::Status;
using com::Variant;
using simulator::ManualScheduler;
using simulator::SimulatedFault;

struct Notification {
    std::int32_t code;
    std::string value;
    bool operator==(const Notification&) const = default;
};
using Notifications = std::vector<Notification>;

inline double numberOf(const std::string& text)
{
    double value = NAN;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << "not a number: '" << text << "'";
    return value;
}

// A control that records what the business object tells it: the periodic 524 as a count,
// everything else in order.
class RecordingControl : public com::ComObject<host::IDtmActiveXControl, host::IUpdateUI> {
public:
    int newValues = 0;
    Notifications received;
    Status Init(const BStr&, const BStr&, com::IUnknown*, bool*) override { return Status::Ok; }
    Status PrepareToRelease(bool*) override { return Status::Ok; }
    Status Notify(std::int32_t code, const Variant& value) override
    {
        if (code == 524)
            ++newValues;
        else
            received.push_back({code, value.toText().toUtf8()});
        return Status::Ok;
    }
    Notifications takeResults() { return std::exchange(received, {}); }
};

class SimulatedPositionerTest : public ::testing::Test {
protected:
    SimulatedPositionerTest() { enrol(control, u"main"); }
    bool enrol(const com::ComPtr<RecordingControl>& c, const char16_t* callerTag)
    {
        bool accepted = false;
        return succeeded(registry()->RegisterControl(u"Orvx.Main.1", callerTag, c.get(), true, &accepted)) && accepted;
    }
    com::ComPtr<host::IDtmUiRegistry> registry() { return com::queryInterface<host::IDtmUiRegistry>(positioner); }
    std::string get(const char* tag)
    {
        Variant value;
        EXPECT_EQ(positioner->GetParameter(BStr::fromUtf8(tag), &value), Status::Ok) << tag;
        return value.toText().toUtf8();
    }
    Status set(const char* tag, const char* text = nullptr)
    {
        std::uint32_t word = 0;
        return positioner->SetParameter(BStr::fromUtf8(tag), text ? Variant::text(BStr::fromUtf8(text)) : Variant(),
                                        &word);
    }

    double number(const char* tag) { return numberOf(get(tag)); }
    // Runs a PST to its end and answers what the device said meanwhile, live values aside.
    Notifications runPst()
    {
        control->takeResults();
        EXPECT_EQ(set("4"), Status::Ok);
        scheduler.Advance(60'000);
        return control->takeResults();
    }
    // The summary's rows that fail, graded from the device's parameters.
    std::string failedRows()
    {
        std::string rows;
        if (get("16022") != "0")
            rows += "passed ";
        if (!(number("16005") < number("16023") && number("16023") < number("16006")))
            rows += "friction ";
        if (!(number("16026") < number("16007")))
            rows += "breakaway ";
        if (!(number("16027") < number("16008")))
            rows += "droop ";
        return rows;
    }
    bool faultRaised(int bit) { return simulator::FaultSet::FromHex(get("12000")).IsRaised(bit); }

    ManualScheduler scheduler;
    com::ComPtr<simulator::SimulatedPositioner> positioner = com::makeComObject<simulator::SimulatedPositioner>(
        scheduler);
    com::ComPtr<RecordingControl> control = com::makeComObject<RecordingControl>();
};

}  // namespace orvx::simtest
