#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvx::hart {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Appends the big-endian wire forms HART uses: integers of one to four bytes and IEEE 754
// single floats, most significant byte first.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : m_out(out) {}

    void u8(std::uint8_t value) { m_out.push_back(value); }
    void u16(std::uint16_t value);
    void u24(std::uint32_t value);  // the low three bytes; the top byte must be zero
    void u32(std::uint32_t value);
    void f32(float value);
    void bytes(ByteView data) { m_out.insert(m_out.end(), data.begin(), data.end()); }

private:
    Bytes& m_out;
};

// Reads the same forms from bytes received. A read past the end returns zero and leaves the
// reader failed, so a decoder reads a whole layout and checks once; offset() says where the
// first short read began.
class ByteReader {
public:
    explicit ByteReader(ByteView data) : m_data(data) {}
    // The reader keeps a view of its bytes: they must outlive it.
    explicit ByteReader(Bytes&&) = delete;

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u24();
    std::uint32_t u32();
    float f32();
    ByteView bytes(std::size_t count);  // empty when fewer remain

    bool ok() const { return !m_failed; }
    std::size_t offset() const { return m_offset; }
    std::size_t remaining() const { return m_data.size() - m_offset; }

private:
    bool take(std::size_t count);

    ByteView m_data;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

// "0x1f": a byte as messages quote it.
std::string hexByte(std::uint8_t value);

}  // namespace orvx::hart
