// A curve text as the device sends it: either it reads into whole pairs of finite numbers or
// it fails with the field that broke it.
#include "FuzzText.h"
#include "diagnostics/CurveText.h"

#include <cmath>

using orvx::diagnostics::CurveTextResult;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = orvx::fuzz::utf8Text(data, size);
    const CurveTextResult result = orvx::diagnostics::parseCurveText(text);
    const auto& curve = result.curve;
    if (curve.position.size() != curve.pressure.size())
        std::abort();
    if (result.Ok()) {
        if (curve.Empty())
            std::abort();
        // Every field of a complete pair was read; only an unpaired last one may be dropped.
        const qsizetype fields = text.count(QLatin1Char('@')) + 1;
        if (static_cast<qsizetype>(curve.position.size()) != fields / 2)
            std::abort();
        for (std::size_t i = 0; i < curve.position.size(); ++i)
            if (!std::isfinite(curve.position[i]) || !std::isfinite(curve.pressure[i]))
                std::abort();
    } else if (!curve.Empty()) {
        std::abort();  // a failed text gives no points
    }
    return 0;
}
