#pragma once

#include "Vocabulary.h"

#include <QLatin1StringView>
#include <QString>

// The device's vocabulary as the user interface spells it: every parameter tag as a Qt string
// (tag::Mode is parameter::Mode's tag), and a method's tag as a QString. The method numbers and notification
// codes are those of Vocabulary.h.
namespace orvx::device {

// A text of the vocabulary (a name, a title, a data file's line) as a Qt string.
constexpr QLatin1StringView latin1(std::string_view text)
{
    return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

namespace method {

// The tag that starts the method.
inline QString tagOf(int method)
{
    return QString::number(method);
}

}  // namespace method

namespace code {

// The expected code of the operation record when no operation runs.
constexpr std::int32_t None = -1;

}  // namespace code

namespace tag {

#define ORVX_DEVICE_TAG(name, tag, ...) inline constexpr QLatin1StringView name{tag};
ORVX_DEVICE_PARAMETERS(ORVX_DEVICE_TAG)
#undef ORVX_DEVICE_TAG

}  // namespace tag

// A tag as a Qt string made once, for the reads every notification makes.
template <const QLatin1StringView& Tag>
const QString& tagText()
{
    static const QString text(Tag);
    return text;
}

}  // namespace orvx::device
