#pragma once

#include "device/Vocabulary.h"
#include "platform/com/Variant.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace orvx::simulator {

// The device's value of every parameter of the vocabulary, each with its factory default; the
// table holds all of them and nothing else.
// Values are decimal texts, as the user interface writes them, but for the frame's two flags
// (Connected, PrivateDialogs), which are booleans.
class ParameterTable {
public:
    // Settings are what the device's reset puts back; everything else (identity, mode,
    // measurements, faults, test results, the framework flags) survives it.
    enum class Kind { Setting, Device };

    ParameterTable();

    // The value under a tag, or nullptr for a tag the vocabulary does not hold.
    const com::Variant* Find(std::string_view tag) const;
    const com::Variant& Value(const device::Parameter& parameter) const;
    void Set(const device::Parameter& parameter, com::Variant value);
    void SetText(const device::Parameter& parameter, const std::string& text);
    // Fixed notation with the given decimals.
    void SetNumber(const device::Parameter& parameter, double value, int decimals = 0);

    // The value as UTF-8 text.
    std::string Text(const device::Parameter& parameter) const;
    // The value as a number; 'fallback' when it is not one.
    double Number(const device::Parameter& parameter, double fallback = 0.0) const;

    // Converts the pressures that follow the unit parameters (settings, limits, results, live
    // values) from one HART unit to another, with the new unit's decimals.
    void ConvertPressures(int from, int to);

    // Puts every setting back to its default.
    void RestoreSettings();

private:
    struct Entry {
        com::Variant value;
        com::Variant initial;
        Kind kind;
    };
    void add(const device::Parameter& parameter, com::Variant value, Kind kind);
    Entry& entry(const device::Parameter& parameter);
    const Entry& entry(const device::Parameter& parameter) const;

    std::unordered_map<std::string_view, Entry> m_entries;  // by tag
};

// Fixed notation with 'decimals' decimals, the full stop as separator.
std::string fixed(double value, int decimals);

}  // namespace orvx::simulator
