#pragma once

#include "support/PageFixture.h"

namespace orvx::test {

// A connected device that keeps the result of its last partial stroke test: results in psi,
// graded against friction limits 2 to 20, breakout 12 and droop 3 (psi too); both strokes as
// curve texts of three points; the stored record of tag PV-101, device id 42. 'more' adds or
// replaces parameters.
inline DeviceParameters lastPstDevice(std::initializer_list<std::pair<const char*, const char*>> more = {})
{
    DeviceParameters parameters = PageFixture<>::ConnectedDevice({{"4003", "6"},
                                                                  {"4007", "6"},
                                                                  {"16005", "2"},
                                                                  {"16006", "20"},
                                                                  {"16007", "12"},
                                                                  {"16008", "3"},
                                                                  {"16022", "0"},
                                                                  {"16023", "6"},
                                                                  {"16024", "8"},
                                                                  {"16025", "24"},
                                                                  {"16026", "11.5"},
                                                                  {"16027", "1.25"},
                                                                  {"16028", "2.5"},
                                                                  {"16029", "3.125"},
                                                                  {"16037", "0@70@10@85@20@100"},
                                                                  {"16038", "20@100@10@85@0@70"},
                                                                  {"16039", "100"},
                                                                  {"1001", "PV-101"},
                                                                  {"1003", "42"},
                                                                  {"16040", "0"},
                                                                  {"16041", "6"},
                                                                  {"16042", "8"},
                                                                  {"16043", "24"},
                                                                  {"16044", "12"},
                                                                  {"16045", "3"},
                                                                  {"16046", "2"},
                                                                  {"16047", "3"},
                                                                  {"16048", "2"},
                                                                  {"16049", "6"},
                                                                  {"16050", "100"},
                                                                  {"16051", "1"},
                                                                  {"16052", "10"},
                                                                  {"16053", "2"}});
    for (const auto& [tag, value] : more)
        parameters[QString::fromLatin1(tag)] = device::textVariant(QString::fromLatin1(value));
    return parameters;
}

}  // namespace orvx::test
