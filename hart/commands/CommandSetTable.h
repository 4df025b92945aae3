#pragma once

#include <string>

namespace orvx::hart {

// The tables of docs/hart-command-set.md that follow from the device vocabulary: every parameter
// with the bytes its value takes, every method and every notification code. A test holds the
// document to them; `orvx-hart-device --tables` prints them.
std::string commandSetTables();

}  // namespace orvx::hart
