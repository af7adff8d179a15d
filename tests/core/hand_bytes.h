#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tarvex::test {

/// Little-endian bytes built by hand, independent of the writers under test. Each file format's
/// tests derive their own builder from it and add the records of that format.
template <typename Derived> struct HandBytes {
    std::string data;

    Derived& raw(std::string_view s)
    {
        data.append(s);
        return self();
    }
    Derived& zeros(std::size_t n)
    {
        data.append(n, '\0');
        return self();
    }
    /// `s` in a field of `width` bytes, padded with NUL bytes.
    Derived& field(std::string_view s, std::size_t width) { return raw(s).zeros(width - s.size()); }
    Derived& u8(std::uint8_t v)
    {
        data.push_back(static_cast<char>(v));
        return self();
    }
    Derived& i16(std::int16_t v) { return little(static_cast<std::uint16_t>(v), 2); }
    Derived& i32(std::int32_t v) { return little(static_cast<std::uint32_t>(v), 4); }
    Derived& f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return little(bits, 8);
    }

private:
    Derived& self() { return static_cast<Derived&>(*this); }
    Derived& little(std::uint64_t bits, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            data.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
        return self();
    }
};

} // namespace tarvex::test
