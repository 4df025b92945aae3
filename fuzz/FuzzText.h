#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace orvx::fuzz {

// An input as the text a business object or a file hands over, read as UTF-8.
inline QString utf8Text(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace orvx::fuzz
