#pragma once

#include "Vocabulary.h"

#include <array>
#include <string_view>

// The fixed lines of a diagnostic data file (.dgn, docs/data-file-format.md) and where the
// device keeps each value of a PST record: what the file's writer, its readers and the
// simulator's history files have in common. Lines are given without their line end.
namespace orvx::device::datafile {

inline constexpr std::string_view kLineEnd = "\r\n";

// The first field of the version line, exactly 9 characters; the whole line, "OrvxESD.1, "
// and the date and time, is 25.
inline constexpr std::string_view kVersionTag = "OrvxESD.1";
inline constexpr std::size_t kVersionLineLength = 25;

// The record kinds, the first field of a record's header line.
inline constexpr std::string_view kPstKind = "PST";
inline constexpr std::string_view kEsdKind = "ESD";
static_assert(kPstKind.size() == kEsdKind.size(), "a header's kind is written 3 characters wide");

// The line after the header, written as it stands, ";" after PstStart and two blanks before
// NumSamplesDown included.
inline constexpr std::string_view kNamesLine =
    "PstData, PstPassed, Friction, PstTravel, USpringRange, LSpringRange, BreakAwayPres, Droop, RspTimeFill, "
    "RspTimeExhaust, PstStart;, PstSpeed, Interval, PresUnits, NumSamplesUp,  NumSamplesDown";
// The line before the rows of the two curves.
inline constexpr std::string_view kColumnsLine = "fX1, fY1, fX2, fY2";
// The record's last line.
inline constexpr std::string_view kEndLine = "9999.999";

// The record values after PstData, in file order, as the names line names them.
inline constexpr std::size_t kValueCount = 15;
inline constexpr std::array<std::string_view, kValueCount> kValueNames = {
    "PstPassed",     "Friction", "PstTravel",   "USpringRange",   "LSpringRange",
    "BreakAwayPres", "Droop",    "RspTimeFill", "RspTimeExhaust", "PstStart",
    "PstSpeed",      "Interval", "PresUnits",   "NumSamplesUp",   "NumSamplesDown",
};

// Where the device keeps each of them after a PST, in the same order. NumSamplesUp is kept
// nowhere: it is RecordSamples less RecordSamplesDown.
inline constexpr std::array<const Parameter*, kValueCount> kValueSources = {
    &parameter::RecordPassed,         &parameter::RecordFriction,
    &parameter::RecordTravel,         &parameter::RecordUpperSpring,
    &parameter::RecordLowerSpring,    &parameter::RecordBreakaway,
    &parameter::RecordDroop,          &parameter::RecordFillTime,
    &parameter::RecordExhaustTime,    &parameter::RecordStart,
    &parameter::RecordSpeed,          &parameter::RecordInterval,
    &parameter::MeasuredPressureUnit, nullptr,
    &parameter::RecordSamplesDown,
};
inline constexpr std::size_t kPresUnits = 12;  // the index of PresUnits
inline constexpr std::size_t kSamplesUp = 13;  // and of NumSamplesUp

}  // namespace orvx::device::datafile
