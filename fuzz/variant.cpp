// Variant conversions of the texts a business object sends: each conversion answers or raises
// a ComError, and a number written by toText reads back as the same number.
#include "platform/com/Variant.h"

#include "FuzzSupport.h"
#include "platform/com/ComError.h"

#include <cmath>
#include <cstring>
#include <string>

using orvx::com::BStr;
using orvx::com::ComError;
using orvx::com::Variant;

namespace {

template <class F>
void expectOnlyComErrors(F&& convert)
{
    try {
        convert();
    } catch (const ComError&) {
    }
}

// A text variant's answers must not depend on how it came to be a text.
void exercise(const Variant& text)
{
    expectOnlyComErrors([&] {
        const std::int32_t value = text.toInt32();
        if (Variant::text(Variant::int32(value).toText()).toInt32() != value)
            std::abort();
    });
    expectOnlyComErrors([&] {
        const std::uint32_t value = text.toUInt32();
        if (Variant::text(Variant::uint32(value).toText()).toUInt32() != value)
            std::abort();
    });
    expectOnlyComErrors([&] { (void)text.toBool(); });
    if (text.toText() != text.toText())
        std::abort();
}

template <class T>
T take(const std::uint8_t* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    switch (mode % 3) {
    case 0:  // the text as UTF-8, as most business objects hand it over
        exercise(Variant::text(BStr::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size))));
        break;
    case 1: {  // the text as raw UTF-16, unpaired surrogates and all
        std::u16string text(size / 2, u'\0');
        std::memcpy(text.data(), data, text.size() * 2);
        exercise(Variant::text(BStr(std::move(text))));
        break;
    }
    default: {  // a number: its text reads back as the same number
        if (size < 8)
            return 0;
        const double number = take<double>(data);
        const float single = take<float>(data);
        for (const Variant& v : {Variant::float64(number), Variant::float32(single)}) {
            expectOnlyComErrors([&] {
                const BStr text = v.toText();
                const Variant back = Variant::text(text);
                if (back.toBool() != v.toBool())
                    std::abort();
                expectOnlyComErrors([&] {
                    if (back.toInt32() != v.toInt32())
                        std::abort();
                });
            });
        }
        const auto whole = take<std::int64_t>(data);
        const Variant integer = Variant::int64(whole);
        if (Variant::text(integer.toText()).toText() != integer.toText())
            std::abort();
        expectOnlyComErrors([&] {
            if (Variant::text(integer.toText()).toInt32() != integer.toInt32())
                std::abort();
        });
        exercise(Variant::text(integer.toText()));
        break;
    }
    }
    return 0;
}
