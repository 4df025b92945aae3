#include "ParameterTable.h"

#include "PressureUnits.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvx::simulator {

namespace {

using Kind = ParameterTable::Kind;
constexpr Kind S = Kind::Setting;
constexpr Kind D = Kind::Device;

struct Default {
    const char* tag;
    const char* text;
    Kind kind;
};

// Pressures are in psi, the default unit.
constexpr Default kDefaults[] = {
    // Header and identity
    {"1000", "3", D},  // operating mode: 0 setup, 1 manual, 3 normal
    {"1001", "PV-101", D},
    {"1002", "ESD VALVE UNIT 1", D},
    {"1003", "305419", D},
    {"1004", "4711", D},
    {"1005", "3", D},  // mode to set
    {"1006", "PV-101", D},
    {"1007", "ESD VALVE UNIT 1", D},
    {"1008", "4711", D},
    {"1009", "0", D},  // device state: 0 ok, 1 low power, 2 fail-safe, 4 fatal, 64 fail high, 128 marginal
    {"1010", "0", D},  // polling address
    // Live values, refreshed while the device is read
    {"2000", "12.00", D},
    {"2003", "0.00", D},
    {"2006", "8.0", D},
    {"2009", "60.0", D},
    {"2012", "0", D},
    // General configuration
    {"3000", "1", S},  // air to open
    {"3001", "VALVE IN SERVICE", S},
    {"4000", "124-5-20", D},  // device date: years since 1900, month, day
    {"4001", "0", S},
    {"4003", "6", S},
    {"4004", "1", S},
    {"4005", "1", S},
    {"4006", "0", S},
    {"4007", "6", S},
    // Alarms
    {"5000", "5.0", S},
    {"5001", "1", S},
    {"5002", "10.0", S},
    {"5003", "5.0", S},
    {"5004", "1.0", S},
    {"5005", "40.0", S},
    {"5006", "100.0", S},
    {"5007", "5.0", S},
    // Switch 2
    {"6000", "0", S},
    {"6001", "1", S},
    {"6002", "0.0", S},
    // HART
    {"7001", "5", D},
    {"7002", "0", D},
    {"7003", "0", D},
    {"7004", "0", S},
    {"7005", "1", S},
    // Tuning: P, I, D, Padj, dead zone, beta, position compensation, boost, aggressiveness
    {"8000", "1200", S},
    {"8001", "100", S},
    {"8002", "20", S},
    {"8003", "0", S},
    {"8004", "0.5", S},
    {"8005", "0", S},
    {"8006", "10", S},
    {"8007", "5", S},
    {"8008", "0", S},
    // Manual setpoint (%), retransmitter range and analog output (mA)
    {"9000", "50.0", S},
    {"10000", "100.00", S},  // retransmitter range, percent of travel at 20 mA
    {"10001", "0.00", S},    // and at 4 mA
    {"10002", "0", D},
    // Faults: 72 bits as 9 bytes of hexadecimal text; fault behaviours 4 fail high, 3 fail low
    {"12000", "000000000000000000", D},
    {"12001", "000000000000000000", D},
    {"12002", "4", S},
    {"12003", "4", S},
    // Sensors
    {"13000", "8.0", D},
    {"13001", "0.0", D},
    {"13002", "3.0", D},
    {"13003", "24.5", D},
    {"13004", "-12.0", D},
    {"13005", "41.5", D},
    {"13006", "12000", D},
    {"13007", "500", D},
    {"13008", "800", D},
    {"13009", "0", S},
    {"13010", "512", D},
    {"13011", "3580", D},
    {"13012", "20.0", D},
    {"13013", "0.80", D},
    {"13014", "0", D},
    {"13015", "6000", D},
    {"13016", "300", D},
    // Device information
    {"14000", "Norvane-Halbrook", D},
    {"14001", "Orvx ESD", D},
    {"14002", "VUD", D},
    {"14003", "5", D},
    {"14004", "3", D},
    {"14005", "1", D},
    {"14006", "1", D},
    // Framework: invalid-entry counter ("15000" and "20000" are added as booleans)
    {"15001", "0", D},
    // PST settings and schedule
    {"16000", "10.0", S},
    {"16001", "6.0", S},  // minimum pressure: below what a healthy PST needs anywhere in the travel
    {"16002", "60", S},
    {"16003", "5.0", S},
    {"16004", "2", S},
    {"16005", "2.0", S},
    {"16006", "15.0", S},
    {"16007", "10.0", S},
    {"16008", "4.0", S},
    {"16009", "0", S},
    {"16010", "0", S},
    {"16011", "0", S},
    {"16012", "2", S},
    {"16013", "1", D},
    {"16014", "240", D},
    {"16015", "0", S},
    {"16016", "0", S},
    {"16018", "1", S},
    {"16020", "1", S},
    {"16021", "1", S},
    // Last PST result: passed (0), friction, spring range low and high, breakaway, droop,
    // exhaust and fill time (s)
    {"16022", "0", D},
    {"16023", "3.0", D},
    {"16024", "15.0", D},
    {"16025", "35.0", D},
    {"16026", "3.4", D},
    {"16027", "0.2", D},
    {"16028", "2.1", D},
    {"16029", "2.3", D},
    {"16030", "0", S},
    {"16031", "0", S},
    {"16036", "0", D},
    // Stored PST record (curves "16037"/"16038" and the time counters are made below)
    {"16039", "100", D},
    {"16040", "0", D},
    {"16041", "3", D},
    {"16042", "15", D},
    {"16043", "35", D},
    {"16044", "3", D},
    {"16045", "0", D},
    {"16046", "2", D},
    {"16047", "2", D},
    {"16048", "20", D},
    {"16049", "40", D},
    {"16050", "100", D},  // sample interval of the stored record, ms
    {"16051", "100", D},
    {"16052", "10", D},
    {"16053", "5", D},
};

constexpr int kCurvePoints = 20;  // per stroke, as "16048" and "16049" say

// A stroke of the last PST as "pressure@position@..." pairs: the exhaust stroke from open down
// by the PST travel, the fill stroke back up.
std::string pstCurve(bool fill)
{
    std::string curve;
    for (int i = 0; i < kCurvePoints; ++i) {
        const double t = static_cast<double>(i) / (kCurvePoints - 1);
        const double position = fill ? 90.0 + 10.0 * t : 100.0 - 10.0 * t;
        const double pressure = 15.0 + 0.2 * position + (fill ? 3.0 : -3.0);  // the spring line, +- friction
        if (!curve.empty())
            curve += '@';
        curve += fixed(pressure, 2) + '@' + fixed(position, 2);
    }
    return curve;
}

// Device time counter (seconds since it left the factory) when the simulation starts, and
// when the last PST ran.
constexpr std::uint32_t kCounterAtStart = 30u * 86400u;
constexpr std::uint32_t kCounterAtLastPst = kCounterAtStart - 86400u;

}  // namespace

// Locale-free both ways: the program's locale may use another decimal separator.
std::string fixed(double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    if (out.starts_with('-') && out.find_first_not_of("-0.") == std::string::npos)  // no "-0.00"
        out.erase(0, 1);
    return out;
}

ParameterTable::ParameterTable()
{
    for (const Default& d : kDefaults)
        add(d.tag, com::Variant::text(com::BStr::fromUtf8(d.text)), d.kind);
    add("15000", com::Variant::boolean(true), Kind::Device);  // connected
    add("20000", com::Variant::boolean(true), Kind::Device);  // private dialogs enabled
    const auto text = [](const std::string& t) { return com::Variant::text(com::BStr::fromUtf8(t)); };
    add("16037", text(pstCurve(true)), Kind::Device);
    add("16038", text(pstCurve(false)), Kind::Device);
    add("16032", text(std::to_string(kCounterAtStart)), Kind::Device);
    add("16033", text(std::to_string(kCounterAtLastPst >> 16)), Kind::Device);
    add("16034", text(std::to_string(kCounterAtLastPst & 0xFFFFu)), Kind::Device);
}

void ParameterTable::add(const std::string& tag, com::Variant value, Kind kind)
{
    m_entries.insert_or_assign(tag, Entry{value, value, kind});
}

bool ParameterTable::Contains(std::string_view tag) const
{
    return m_entries.find(tag) != m_entries.end();
}

const com::Variant* ParameterTable::Find(std::string_view tag) const
{
    const auto it = m_entries.find(tag);
    return it == m_entries.end() ? nullptr : &it->second.value;
}

bool ParameterTable::Set(std::string_view tag, com::Variant value)
{
    const auto it = m_entries.find(tag);
    if (it == m_entries.end())
        return false;
    it->second.value = std::move(value);
    return true;
}

void ParameterTable::SetText(std::string_view tag, const std::string& text)
{
    Set(tag, com::Variant::text(com::BStr::fromUtf8(text)));
}

void ParameterTable::SetNumber(std::string_view tag, double value, int decimals)
{
    SetText(tag, fixed(value, decimals));
}

std::string ParameterTable::Text(std::string_view tag) const
{
    const com::Variant* value = Find(tag);
    return value ? value->toText().toUtf8() : std::string();
}

double ParameterTable::Number(std::string_view tag, double fallback) const
{
    const std::string text = Text(tag);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return text.empty() || error != std::errc() || end != text.data() + text.size() ? fallback : value;
}

void ParameterTable::ConvertPressures(int from, int to)
{
    static const char* const kPressureTags[] = {"5005",  "5006",  "16001", "16005", "16006", "16007",
                                                "16008", "16023", "16024", "16025", "16026", "16027"};
    if (from == to)
        return;
    for (const char* tag : kPressureTags) {
        const double value = Number(tag, NAN);
        if (!std::isnan(value))
            SetNumber(tag, fromPsi(toPsi(value, from), to), pressureDecimals(to));
    }
}

void ParameterTable::RestoreSettings()
{
    for (auto& [tag, entry] : m_entries)
        if (entry.kind == Kind::Setting)
            entry.value = entry.initial;
}

}  // namespace orvx::simulator
