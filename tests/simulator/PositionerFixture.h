#pragma once

// The simulated positioner under a manual clock, with a control registered that records what
// it is told.

#include "device/IUpdateUI.h"
#include "simulator/FaultSet.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <regex>
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

struct Point {
    double pressure;
    double position;
};

// A curve text: "pressure@position@...", each number with a full stop and two decimals (the
// record the device starts with) or four (a stroke it recorded).
inline std::vector<Point> pointsOf(const std::string& text)
{
    static const std::regex kNumber(R"(-?\d+\.\d\d(\d\d)?)");
    std::vector<double> numbers;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t at = std::min(text.find('@', from), text.size());
        const std::string field = text.substr(from, at - from);
        EXPECT_TRUE(std::regex_match(field, kNumber)) << "field '" << field << "'";
        numbers.push_back(numberOf(field));
        from = at + 1;
    }
    EXPECT_EQ(numbers.size() % 2, 0u) << "unpaired field";
    std::vector<Point> points;
    for (std::size_t i = 0; i + 1 < numbers.size(); i += 2)
        points.push_back({numbers[i], numbers[i + 1]});
    return points;
}

// The point of a curve nearest to a position.
inline Point nearest(const std::vector<Point>& curve, double position)
{
    return *std::ranges::min_element(curve, {}, [&](const Point& p) { return std::abs(p.position - position); });
}

// A control that records what the business object tells it: the periodic 524 as a count,
// everything else in order.
class RecordingControl : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
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
    com::ComPtr<device::IDtmUiRegistry> registry() { return com::queryInterface<device::IDtmUiRegistry>(positioner); }
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
