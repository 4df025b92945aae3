#pragma once

#include "BStr.h"

#include <cstdint>

namespace orvx::com {

enum class VariantType {
    Empty,
    Bool,
    Int8,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt16,
    UInt32,
    UInt64,
    Int,  // the machine integer of the business object's interfaces, 32 bits
    UInt,
    Float,
    Double,
    Text,
};

// The business object's value type. Conversions that cannot be made raise a ComError with
// Status::TypeMismatch (not a value of the asked type) or Status::Overflow (does not fit).
class Variant {
public:
    Variant() = default;  // empty

    static Variant boolean(bool value);
    static Variant int8(std::int8_t value) { return signedOf(VariantType::Int8, value); }
    static Variant int16(std::int16_t value) { return signedOf(VariantType::Int16, value); }
    static Variant int32(std::int32_t value) { return signedOf(VariantType::Int32, value); }
    static Variant int64(std::int64_t value) { return signedOf(VariantType::Int64, value); }
    static Variant integer(std::int32_t value) { return signedOf(VariantType::Int, value); }
    static Variant uint8(std::uint8_t value) { return unsignedOf(VariantType::UInt8, value); }
    static Variant uint16(std::uint16_t value) { return unsignedOf(VariantType::UInt16, value); }
    static Variant uint32(std::uint32_t value) { return unsignedOf(VariantType::UInt32, value); }
    static Variant uint64(std::uint64_t value) { return unsignedOf(VariantType::UInt64, value); }
    static Variant uinteger(std::uint32_t value) { return unsignedOf(VariantType::UInt, value); }
    static Variant float32(float value);
    static Variant float64(double value);
    static Variant text(BStr value);

    VariantType type() const { return m_type; }
    bool isEmpty() const { return m_type == VariantType::Empty; }

    // Numbers as plain decimal text (no exponent, '.' as separator), booleans as "1" and "0",
    // empty as "".
    BStr toText() const;
    // Numbers are true when not zero; texts "true"/"false" in any case, or a number.
    bool toBool() const;
    // Floating-point values are rounded half to even; texts must be a whole decimal number.
    std::int32_t toInt32() const;
    std::uint32_t toUInt32() const;

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    static Variant signedOf(VariantType type, std::int64_t value);
    static Variant unsignedOf(VariantType type, std::uint64_t value);
    std::int64_t toInt64(std::int64_t min, std::int64_t max) const;

    VariantType m_type = VariantType::Empty;
    std::int64_t m_signed = 0;
    std::uint64_t m_unsigned = 0;
    double m_double = 0.0;
    BStr m_text;
};

}  // namespace orvx::com
