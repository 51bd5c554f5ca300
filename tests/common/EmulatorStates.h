// States in the framings of today's emulators, written from the layouts we measured on the
// real ones (not from the program's reader), around the demo state's work RAM. The bytes
// between the fields are a counting pattern, so that a byte moved or lost shows.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

#include "Demo.h"

namespace sw::test {

inline std::string Filler(std::size_t count, unsigned seed) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>((i * 7 + seed * 13 + (i >> 8)) & 0xFF);
    }
    return bytes;
}

inline std::string U32Bytes(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

// The demo's work RAM: a ZSNES state holds it at 3091.
inline std::string DemoWram() {
    const auto demo = MakeDemoState();
    return std::string(demo.begin() + 3091, demo.begin() + 3091 + 131072);
}

inline const char kTestRomSha[] = "6b1f0e2a9c3d4e5f60718293a4b5c6d7e8f901122334455667788990aabbccdd";

// bsnes-mercury v094: "BST1", u32 27, ROM hash, 512-byte description, profile, SRAM, 10,315
// bytes, WRAM, and the rest up to the profile's length.
inline std::string BsnesState(const std::string& wram, const std::string& profile, long sram) {
    const long base = profile == "Accuracy" ? 289684 : profile == "Balanced" ? 375848 : 320941;
    std::string s = "BST1" + U32Bytes(27) + kTestRomSha + std::string(512, '\0');
    s += profile + std::string(16 - profile.size(), '\0');
    s += Filler(static_cast<std::size_t>(sram), 1) + Filler(10315, 2) + wram;
    s += Filler(static_cast<std::size_t>(base + sram) - s.size(), 3);
    return s;
}

// ares v126: "BST1", 01, "125" padded to 16, description, 20 bytes, SRAM, 48 bytes, the CPU
// clock (u64), 16 bytes, 2 bools, vperiod 262, hperiod 1364, 18 bytes, WRAM, the rest.
inline std::string AresState(const std::string& wram, long sram) {
    std::string s = std::string("BST1\x01", 5) + "125" + std::string(13, '\0');
    s += std::string(512, '\0') + Filler(20, 4) + Filler(static_cast<std::size_t>(sram), 5);
    s += Filler(48, 6) + U32Bytes(21477273) + U32Bytes(0) + Filler(16, 7);
    s += std::string("\x01\x00", 2) + U32Bytes(262) + U32Bytes(1364) + Filler(16, 8);
    s += wram;
    s += Filler(static_cast<std::size_t>(265948 + sram) - s.size(), 9);
    return s;
}

inline std::string Snes9xBlock(const std::string& id, const std::string& data) {
    std::string length = std::to_string(data.size());
    return id + ":" + std::string(6 - length.size(), '0') + length + ":" + data;
}

// "#!s9xsnp:0012\n", a name block, blocks before and after the RAM block.
inline std::string Snes9xSnapshot(const std::string& wram) {
    return "#!s9xsnp:0012\n" + Snes9xBlock("NAM", "/games/Vellumgate.sfc") +
           Snes9xBlock("CPU", Filler(48, 10)) + Snes9xBlock("REG", Filler(39, 11)) +
           Snes9xBlock("RAM", wram) + Snes9xBlock("VRA", Filler(65536, 12)) +
           Snes9xBlock("SRA", Filler(8192, 13));
}

// RetroArch's container: a block of its own before MEM, MEM padded to 8, END.
inline std::string Rastate(const std::string& core) {
    const std::string pad((8 - core.size() % 8) % 8, '\0');
    return std::string("RASTATE\x01", 8) + "ACHV" + U32Bytes(5) + "ab\x01\x02z" +
           std::string(3, '\0') + "MEM " + U32Bytes(static_cast<std::uint32_t>(core.size())) +
           core + pad + "END " + U32Bytes(0);
}

// RetroArch's RZIP: chunks of 131,072 bytes, each one zlib stream.
inline std::string Rzip(const std::string& inner, std::uint32_t chunk = 131072, int level = 6) {
    std::string s = std::string("#RZIPv\x01#", 8) + U32Bytes(chunk) +
                    U32Bytes(static_cast<std::uint32_t>(inner.size())) + U32Bytes(0);
    for (std::size_t at = 0; at < inner.size(); at += chunk) {
        const std::string part = inner.substr(at, chunk);
        uLongf length = compressBound(static_cast<uLong>(part.size()));
        std::string stream(length, '\0');
        compress2(reinterpret_cast<Bytef*>(stream.data()), &length,
                  reinterpret_cast<const Bytef*>(part.data()), static_cast<uLong>(part.size()),
                  level);
        stream.resize(length);
        s += U32Bytes(static_cast<std::uint32_t>(length)) + stream;
    }
    return s;
}

// gzip as snes9x writes its snapshots (gzopen "wb", a file name in the header here).
inline std::string Gzip(const std::string& inner) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string raw(deflateBound(&z, static_cast<uLong>(inner.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(inner.data()));
    z.avail_in = static_cast<uInt>(inner.size());
    z.next_out = reinterpret_cast<Bytef*>(raw.data());
    z.avail_out = static_cast<uInt>(raw.size());
    deflate(&z, Z_FINISH);
    raw.resize(z.total_out);
    deflateEnd(&z);
    const std::string header("\x1f\x8b\x08\x08\x10\x20\x30\x40\x02\x03Vellumgate.000\0", 25);
    return header + raw +
           U32Bytes(static_cast<std::uint32_t>(
               crc32(0, reinterpret_cast<const Bytef*>(inner.data()),
                     static_cast<uInt>(inner.size())))) +
           U32Bytes(static_cast<std::uint32_t>(inner.size()));
}

}  // namespace sw::test
