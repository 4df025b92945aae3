#pragma once

#include "platform/com/BStr.h"
#include "platform/com/Variant.h"

#include <QString>

namespace orvx::device {

// Texts across the business-object boundary. A null BStr and a null QString stand for each
// other, so an absent text stays absent and an empty one stays empty.
inline QString toQString(const com::BStr& text)
{
    if (text.isNull())
        return {};
    const auto view = text.view();
    if (view.empty())
        return QString(QLatin1String(""));
    return QString::fromUtf16(view.data(), static_cast<qsizetype>(view.size()));
}

inline com::BStr toBStr(const QString& text)
{
    if (text.isNull())
        return {};
    return com::BStr(std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                                         static_cast<std::size_t>(text.size())));
}

inline com::Variant textVariant(const QString& text)
{
    return com::Variant::text(toBStr(text));
}

// The value as text; a value that has no text form raises a ComError.
inline QString variantText(const com::Variant& value)
{
    return toQString(value.toText());
}

}  // namespace orvx::device
