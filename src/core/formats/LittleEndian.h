// Little-endian numbers in byte buffers: the only place where multi-byte values are assembled
// from or split into bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sw {

// b0 + 256*b1 (+ 65536*b2 ...), each byte taken as 0-255.
inline std::uint32_t ReadLE(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

// The low `count` bytes of the value (two's complement for negatives), least significant first.
inline void WriteLE(std::uint8_t* bytes, std::int64_t value, std::size_t count) {
    auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(bits & 0xFF);
        bits >>= 8;
    }
}

}  // namespace sw
