#pragma once

#include "DiagRecord.h"

#include <QString>

namespace orvx::diagnostics {

// The outcome of reading a device curve text; `curve` holds the points only when it succeeded.
struct CurveTextResult {
    enum class Error {
        None,
        NoText,    // the text is null or empty
        BadField,  // field `field` (counted from 0) is empty or not a finite number
        NoPoint,   // the text holds no complete pair
        TooLong,   // the text holds more than kMaxCurvePoints pairs
    };

    Error error = Error::None;
    int field = -1;
    Curve curve;

    bool Ok() const { return error == Error::None; }
};

// Reads a curve text as the device sends it: decimal numbers (C locale) separated by "@", taken
// in pairs of pressure then position. A last field without a partner is dropped unread, so a
// text ending in "@" still reads. Any other empty field or a field that is not a finite number
// fails the whole text, as does a text without a complete pair or with more than
// kMaxCurvePoints pairs (refused before it is split).
CurveTextResult parseCurveText(const QString& text);

}  // namespace orvx::diagnostics
