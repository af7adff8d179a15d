#pragma once

#include "common/status.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::common {

/// Reads little-endian values from a byte buffer without ever reading past its end: every read
/// reports whether the bytes were there, and a failed read leaves the position unchanged.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }

    bool readBytes(std::size_t count, std::string_view& out);
    bool readInt32(std::int32_t& out);
    bool readDouble(double& out);

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

/// Appends little-endian values to a byte buffer, with no padding between items.
class ByteWriter {
public:
    void writeBytes(std::string_view bytes) { m_bytes.append(bytes); }
    /// Room for `bytes` in all, so that a large file is not copied while it grows.
    void reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    /// Writes `text` into a field of exactly `width` bytes, cut or padded with NUL bytes.
    void writeFixedText(std::string_view text, std::size_t width);
    void writeInt32(std::int32_t value);
    void writeDouble(double value);

    const std::string& bytes() const { return m_bytes; }
    std::string take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

/// Reads a list's int32 count and checks, before anything is allocated, that the records it
/// announces can be there (`recordBytes` is the smallest size one record can take) and that it
/// is neither negative nor above `limit`.
Status readRecordCount(
    ByteReader& in, std::size_t recordBytes, std::size_t& count, std::size_t limit = SIZE_MAX);

/// The text of a fixed-width field, up to its first NUL byte.
std::string_view fixedFieldText(std::string_view field);

} // namespace tarvex::common
