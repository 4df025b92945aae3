// The parameter-text conversions: a text either converts or throws one of the documented
// exceptions, and what converts comes back from the from_ side as the same value.
#include "controls/Conversions.h"

#include "FuzzText.h"

#include <cmath>
#include <stdexcept>

using orvx::controls::CConversions;

namespace {

template <class F>
void expectOnlyDocumentedFailures(F&& convert)
{
    try {
        convert();
    } catch (const std::invalid_argument&) {
    } catch (const std::runtime_error&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks a base and a count of decimals; the rest is the text.
    const int base = data[0] % 3 == 0 ? 10 : (data[0] % 3 == 1 ? 16 : data[0] % 40);
    const int decimals = data[0] % 20;
    const QString text = orvx::fuzz::utf8Text(data + 1, size - 1);

    expectOnlyDocumentedFailures([&] {
        const std::int32_t value = CConversions::to_long(text, base);
        if (CConversions::to_long(CConversions::from_long(value)) != value)
            std::abort();
        if (CConversions::to_int(text, base) != value)
            std::abort();
    });
    expectOnlyDocumentedFailures([&] {
        const std::uint32_t value = CConversions::to_ulong(text, base);
        if (CConversions::to_ulong(CConversions::from_uint(value)) != value)
            std::abort();
    });
    expectOnlyDocumentedFailures([&] {
        const double value = CConversions::to_double(text);
        const QString written = CConversions::from_double(value, decimals);
        if (std::isnan(value))
            return;
        const double back = CConversions::to_double(written);
        if (std::isinf(value)) {
            if (back != value)
                std::abort();
            return;
        }
        // Fixed notation keeps the value to half a unit of its last decimal, give or take the
        // precision of the double itself.
        const double tolerance = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-12) + 1e-15 * std::fabs(value);
        if (std::fabs(back - value) > tolerance)
            std::abort();
    });
    expectOnlyDocumentedFailures([&] {
        const bool value = CConversions::to_bool(text);
        if (!text.isEmpty() && text != QLatin1String(value ? "1" : "0") &&
            text != QLatin1String(value ? "true" : "false"))
            std::abort();
    });
    for (const bool strip : {false, true}) {
        expectOnlyDocumentedFailures([&] {
            const std::vector<std::uint8_t> bytes = CConversions::to_byte_array(text, strip);
            QString hex;
            for (const std::uint8_t byte : bytes)
                hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
            const QString digits = strip ? CConversions::strip_spaces(text) : text;
            if (hex != digits.toLower())
                std::abort();
        });
    }
    return 0;
}
