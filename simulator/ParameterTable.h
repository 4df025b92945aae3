#pragma once

#include "platform/com/Variant.h"

#include <map>
#include <string>
#include <string_view>

namespace orvx::simulator {

// The device's parameters by tag, each with its default. Values are mostly decimal texts, as
// the user interface writes them; the two framework flags "15000" and "20000" are booleans.
class ParameterTable {
public:
    // Settings are what the device's reset puts back; everything else (identity, mode,
    // measurements, faults, test results, the framework flags) survives it.
    enum class Kind { Setting, Device };

    ParameterTable();

    bool Contains(std::string_view tag) const;
    // The value under a tag, or nullptr for a tag the device does not have.
    const com::Variant* Find(std::string_view tag) const;
    // Stores a value under a known tag; answers false for an unknown one.
    bool Set(std::string_view tag, com::Variant value);
    void SetText(std::string_view tag, const std::string& text);
    // Fixed notation with the given decimals.
    void SetNumber(std::string_view tag, double value, int decimals = 0);

    // The value as UTF-8 text; "" for an unknown tag.
    std::string Text(std::string_view tag) const;
    // The value as a number; 'fallback' when it is unknown or not a number.
    double Number(std::string_view tag, double fallback = 0.0) const;

    // Converts the pressures kept in the settings' unit (supply and PST limits, PST results)
    // from one HART unit to another, with the new unit's decimals.
    void ConvertPressures(int from, int to);

    // Puts every setting back to its default.
    void RestoreSettings();

private:
    struct Entry {
        com::Variant value;
        com::Variant initial;
        Kind kind;
    };
    void add(const std::string& tag, com::Variant value, Kind kind);

    std::map<std::string, Entry, std::less<>> m_entries;
};

// Fixed notation with 'decimals' decimals, the full stop as separator.
std::string fixed(double value, int decimals);

}  // namespace orvx::simulator
