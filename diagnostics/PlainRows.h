#pragma once

#include "DiagRecord.h"

#include <string_view>

namespace orvx::diagnostics {

// How far a plain reading of a record's rows went.
struct PlainRows {
    std::size_t bytes = 0;
    int count = 0;
};

// Reads rows as the writer puts them from the start of bytes, at most `most` of them, and stops
// before the first line that is anything else. Such a row holds four fields split by commas,
// each blank or a plain decimal ([-]digits[.digits], nine digits at most on either side) with
// spaces around it, both or neither field of each curve given, then "\r\n" or "\n". Every such
// field reads as a float, so the row needs no further check. A row longer than 63 bytes with its
// line end, and any row within the last 64 bytes, is left as well: the full check reads what is
// left, and names what is wrong. The points go to record unless it is null.
PlainRows readPlainRows(std::string_view bytes, int most, DiagRecord* record);
// The same on every processor, without the widest registers that readPlainRows uses where the
// processor has them; both answer alike.
PlainRows readPlainRowsPortable(std::string_view bytes, int most, DiagRecord* record);

}  // namespace orvx::diagnostics
