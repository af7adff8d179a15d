#include "common/binary_stream.h"

#include "common/messages.h"

#include <bit>
#include <cstring>

namespace tarvex::common {

namespace {

template <typename T> T fromLittleEndian(const char* bytes)
{
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
            std::swap(raw[i], raw[sizeof(T) - 1 - i]);
    }
    T value;
    std::memcpy(&value, raw, sizeof(T));
    return value;
}

template <typename T> void appendLittleEndian(std::string& out, T value)
{
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
            std::swap(raw[i], raw[sizeof(T) - 1 - i]);
    }
    out.append(reinterpret_cast<const char*>(raw), sizeof(T));
}

} // namespace

bool ByteReader::readBytes(std::size_t count, std::string_view& out)
{
    if (count > remaining())
        return false;
    out = m_bytes.substr(m_pos, count);
    m_pos += count;
    return true;
}

bool ByteReader::readInt32(std::int32_t& out)
{
    if (remaining() < sizeof(std::int32_t))
        return false;
    out = fromLittleEndian<std::int32_t>(m_bytes.data() + m_pos);
    m_pos += sizeof(std::int32_t);
    return true;
}

bool ByteReader::readDouble(double& out)
{
    if (remaining() < sizeof(double))
        return false;
    out = fromLittleEndian<double>(m_bytes.data() + m_pos);
    m_pos += sizeof(double);
    return true;
}

void ByteWriter::writeFixedText(std::string_view text, std::size_t width)
{
    const std::size_t kept = text.size() < width ? text.size() : width;
    m_bytes.append(text.substr(0, kept));
    m_bytes.append(width - kept, '\0');
}

void ByteWriter::writeInt32(std::int32_t value)
{
    appendLittleEndian(m_bytes, value);
}

void ByteWriter::writeDouble(double value)
{
    appendLittleEndian(m_bytes, value);
}

Status readRecordCount(
    ByteReader& in, std::size_t recordBytes, std::size_t& count, std::size_t limit)
{
    std::int32_t raw = 0;
    if (!in.readInt32(raw))
        return Status::failure(msg::DesTruncated);
    if (raw < 0 || static_cast<std::size_t>(raw) > limit)
        return Status::failure(msg::DesBadCount);
    if (static_cast<std::size_t>(raw) > in.remaining() / recordBytes)
        return Status::failure(msg::DesTruncated);
    count = static_cast<std::size_t>(raw);
    return Status::success();
}

std::string_view fixedFieldText(std::string_view field)
{
    const std::size_t nul = field.find('\0');
    return nul == std::string_view::npos ? field : field.substr(0, nul);
}

} // namespace tarvex::common
