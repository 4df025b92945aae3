#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace orvx::hart {

// Why bytes from outside were refused, and where: the offset of the first byte that could not be
// taken, counted from the start of what was handed in.
struct Refusal {
    std::size_t offset = 0;
    std::string reason;
};

// What a decoder makes of bytes from outside: the value, or the refusal that says why not.
template <class T>
class Decoded {
public:
    Decoded(T value) : m_value(std::move(value)) {}
    Decoded(Refusal refusal) : m_refusal(std::move(refusal)) {}

    explicit operator bool() const { return m_value.has_value(); }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    // Empty reason when the value was taken.
    const Refusal& refusal() const { return m_refusal; }

private:
    std::optional<T> m_value;
    Refusal m_refusal;
};

inline Refusal refuse(std::size_t offset, std::string reason)
{
    return Refusal{offset, std::move(reason)};
}

}  // namespace orvx::hart
