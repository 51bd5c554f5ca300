#include "StateFormat.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "LittleEndian.h"

namespace sw {
namespace {

constexpr std::size_t kInflateLimit = 16u << 20;

constexpr std::string_view kBst1 = "BST1";
constexpr std::string_view kSnes9xMagic = "#!s9xsnp:";
constexpr std::string_view kRastateMagic("RASTATE\x01", 8);
constexpr std::string_view kRzipMagic("#RZIPv\x01#", 8);
constexpr std::string_view kGzipMagic("\x1f\x8b", 2);

// bsnes-mercury v094: what its serializer writes in front of the battery RAM, and between it
// and the work RAM; the file's length without battery RAM, by profile.
constexpr std::uint32_t kBsnesVersion = 27;
constexpr long kBsnesHashAt = 8;
constexpr long kBsnesProfileAt = 584;
constexpr long kBsnesProfileBytes = 16;
constexpr long kBsnesSramAt = 600;
constexpr long kBsnesSramToWram = 10315;
struct BsnesProfile {
    const char* name;
    long base;
};
constexpr std::array<BsnesProfile, 3> kBsnesProfiles = {
    {{"Accuracy", 289684}, {"Balanced", 375848}, {"Performance", 320941}}};

// ares v126: serializer "125" after a synchronize byte 01; the file's length without battery
// RAM, and the clock and PPU periods found just before the work RAM.
constexpr std::string_view kAresVersion = "125";
constexpr long kAresVersionAt = 5;
constexpr long kAresVersionBytes = 16;
constexpr long kAresSramAt = 553;
constexpr long kAresSramToWram = 98;
constexpr long kAresBase = 265948;
constexpr std::uint32_t kAresNtscClock = 21477273;
constexpr std::uint32_t kAresPalClock = 21281370;

// snes9x: "#!s9xsnp:" + four digits + "\n", then blocks "ID_:000123:" + data.
constexpr std::string_view kSnes9xVersion = "0012";
constexpr std::size_t kSnes9xHeaderBytes = 14;
constexpr std::size_t kSnes9xBlockHead = 11;

constexpr long kLargestSram = 128 * 1024;

std::uint32_t U32(std::string_view bytes, std::size_t at) {
    return ReadLE(reinterpret_cast<const std::uint8_t*>(bytes.data() + at), 4);
}

std::uint64_t U64(std::string_view bytes, std::size_t at) {
    return U32(bytes, at) | (static_cast<std::uint64_t>(U32(bytes, at + 4)) << 32);
}

void PutU32(std::string& out, std::uint32_t value) {
    std::uint8_t bytes[4];
    WriteLE(bytes, value, 4);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

// A byte count with thousands separators (never negative here).
std::string Number(long long value) {
    const std::string digits = std::to_string(value);
    std::string shown;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            shown.push_back(',');
        }
        shown.push_back(digits[i]);
    }
    return shown;
}

bool PossibleSram(long size) {
    return size == 0 || (size >= 2048 && size <= kLargestSram && (size & (size - 1)) == 0);
}

// Text of a fixed field up to its first NUL, with anything unprintable shown as '?'.
std::string FieldText(std::string_view bytes) {
    std::string text(bytes.substr(0, bytes.find('\0')));
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
            c = '?';
        }
    }
    return text;
}

bool AllZero(std::string_view bytes) {
    return bytes.find_first_not_of('\0') == std::string_view::npos;
}

StateRecognition Refused(std::string found) {
    StateRecognition r;
    r.verdict = StateVerdict::kRefused;
    r.found = std::move(found);
    return r;
}

StateRecognition Known(std::string name, long wram) {
    StateRecognition r;
    r.verdict = StateVerdict::kKnown;
    r.format.name = std::move(name);
    r.format.wram = wram;
    return r;
}

std::string SramWords(long sram) {
    return sram == 0 ? "no battery RAM" : Number(sram) + " bytes of battery RAM";
}

// Why a length fits no cartridge, measured against the nearest one that fits.
std::string LengthProblem(const std::string& what, long size, long base) {
    long nearest = 0;
    for (long sram = 2048; sram <= kLargestSram; sram *= 2) {
        if (std::labs(size - base - sram) < std::labs(size - base - nearest)) {
            nearest = sram;
        }
    }
    const long off = size - base - nearest;
    if (off != 0 && std::labs(off) < 1024) {
        return what + " " + Number(std::labs(off)) + (std::labs(off) == 1 ? " byte " : " bytes ") +
               (off < 0 ? "shorter" : "longer") + " than its cartridge's with " +
               SramWords(nearest) + " (" + Number(base + nearest) + " bytes): cut off or damaged";
    }
    return what + " of " + Number(size) + " bytes, which fits no cartridge (" + Number(base) +
           " bytes and 0 or a power of two of at least 2,048 bytes of battery RAM)";
}

StateRecognition RecognizeBsnes(std::string_view d) {
    if (d.size() < static_cast<std::size_t>(kBsnesSramAt)) {
        return Refused("a bsnes state cut short (" + Number(static_cast<long long>(d.size())) +
                       " bytes)");
    }
    const std::uint32_t version = U32(d, 4);
    if (version != kBsnesVersion) {
        return Refused("a bsnes state of serializer version " + std::to_string(version) +
                       ", which this program does not know");
    }
    const std::string_view field = d.substr(kBsnesProfileAt, kBsnesProfileBytes);
    const std::string profile(field.substr(0, field.find('\0')));
    const BsnesProfile* known = nullptr;
    for (const BsnesProfile& p : kBsnesProfiles) {
        if (profile == p.name && AllZero(field.substr(profile.size()))) {
            known = &p;
        }
    }
    if (known == nullptr) {
        return Refused("a bsnes state of the profile \"" + FieldText(field) +
                       "\", which this program does not know");
    }
    const std::string name = std::string("bsnes-mercury v094 ") + known->name;
    const long sram = static_cast<long>(d.size()) - known->base;
    if (!PossibleSram(sram)) {
        return Refused(LengthProblem("a " + name + " state", static_cast<long>(d.size()), known->base));
    }
    StateRecognition r = Known(name, kBsnesSramAt + sram + kBsnesSramToWram);
    r.format.sram = sram;
    const std::string_view hash = d.substr(kBsnesHashAt, 64);
    if (hash.find_first_not_of("0123456789abcdef") == std::string_view::npos) {
        r.format.romSha256 = std::string(hash);
    }
    return r;
}

StateRecognition RecognizeAres(std::string_view d) {
    const std::string version = FieldText(d.substr(kAresVersionAt, kAresVersionBytes));
    if (version != kAresVersion) {
        return Refused("an ares state of version " + version + ", which this program does not know");
    }
    const std::string name = "ares v126 (serializer 125)";
    const long size = static_cast<long>(d.size());
    const long sram = size - kAresBase;
    if (!PossibleSram(sram)) {
        return Refused(LengthProblem("an ares state", size, kAresBase));
    }
    const long wram = kAresSramAt + sram + kAresSramToWram;
    const std::uint64_t clock = U64(d, static_cast<std::size_t>(wram - 50));
    if ((clock != kAresNtscClock && clock != kAresPalClock) ||
        U32(d, static_cast<std::size_t>(wram - 24)) != 262 ||
        U32(d, static_cast<std::size_t>(wram - 20)) != 1364) {
        return Refused("an ares state whose processor clocks are not where a state with " +
                       SramWords(sram) + " has them (damaged, or of another cartridge)");
    }
    StateRecognition r = Known(name, wram);
    r.format.sram = sram;
    return r;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

StateRecognition RecognizeSnes9x(std::string_view d) {
    const std::string_view version = d.substr(kSnes9xMagic.size(), 4);
    if (d.size() < kSnes9xHeaderBytes || !AllDigits(version) || d[13] != '\n') {
        return Refused("a snes9x snapshot whose header is damaged");
    }
    if (version != kSnes9xVersion) {
        return Refused("a snes9x snapshot of version " + std::string(version) +
                       ", which this program does not know");
    }
    long wram = -1;
    std::size_t at = kSnes9xHeaderBytes;
    while (at < d.size()) {
        const std::string_view head = d.substr(at, kSnes9xBlockHead);
        if (head.size() < kSnes9xBlockHead || head[3] != ':' || head[10] != ':' ||
            !AllDigits(head.substr(4, 6))) {
            return Refused("a snes9x snapshot whose blocks are damaged at byte " +
                           Number(static_cast<long long>(at)));
        }
        const std::size_t length = std::stoul(std::string(head.substr(4, 6)));
        const std::size_t data = at + kSnes9xBlockHead;
        if (length > d.size() - data) {
            return Refused("a snes9x snapshot cut short in its block " + FieldText(head.substr(0, 3)));
        }
        if (head.substr(0, 3) == "RAM") {
            if (length != static_cast<std::size_t>(layout::kWramBytes) || wram >= 0) {
                return Refused("a snes9x snapshot whose RAM block holds " +
                               Number(static_cast<long long>(length)) + " bytes, not 131,072");
            }
            wram = static_cast<long>(data);
        }
        at = data + length;
    }
    if (wram < 0) {
        return Refused("a snes9x snapshot without its RAM block");
    }
    return Known("snes9x snapshot " + std::string(version), wram);
}

// A core's own serializer output, with no container around it.
StateRecognition RecognizeCore(std::string_view d) {
    if (d.substr(0, 4) == kBst1) {
        // ares writes a synchronize byte 01 and an ASCII version; bsnes a u32 version.
        const char sync = d.size() > 4 ? d[4] : 0;
        // Releases from 131 on write their version as "v131".
        const bool ares = (sync == 1 || sync == 0) && d.size() > 5 &&
                          (std::isdigit(static_cast<unsigned char>(d[5])) != 0 || d[5] == 'v');
        if (ares) {
            if (sync != 1) {
                return Refused("an ares state whose synchronize byte is 00, which no state "
                               "ares loads safely has");
            }
            return RecognizeAres(d);
        }
        return RecognizeBsnes(d);
    }
    if (d.substr(0, kSnes9xMagic.size()) == kSnes9xMagic) {
        return RecognizeSnes9x(d);
    }
    return {};
}

// RetroArch's container: "RASTATE" 01, then blocks of tag, u32 length and data padded to 8.
StateRecognition RecognizeRastate(std::string_view d) {
    std::size_t at = kRastateMagic.size();
    long mem = -1;
    std::size_t memLength = 0;
    for (;;) {
        if (d.size() - at < 8) {
            return Refused("a RetroArch state cut short (no END block)");
        }
        const std::string_view tag = d.substr(at, 4);
        const std::size_t length = U32(d, at + 4);
        const std::size_t data = at + 8;
        const std::size_t padded = (length + 7) & ~static_cast<std::size_t>(7);
        if (tag == "END ") {
            break;
        }
        if (padded > d.size() - data) {
            return Refused("a RetroArch state cut short in its block \"" + FieldText(tag) + "\"");
        }
        if (tag == "MEM ") {
            if (mem >= 0) {
                return Refused("a RetroArch state with two MEM blocks");
            }
            mem = static_cast<long>(data);
            memLength = length;
        }
        at = data + padded;
    }
    if (mem < 0) {
        return Refused("a RetroArch state without core data (no MEM block)");
    }
    StateRecognition inner = RecognizeCore(d.substr(static_cast<std::size_t>(mem), memLength));
    if (!inner.Known()) {
        return Refused("a RetroArch state whose core data is not a state this program knows" +
                       (inner.found.empty() ? std::string() : " (" + inner.found + ")"));
    }
    inner.format.wram += mem;
    inner.format.name += " in RetroArch";
    return inner;
}

StateRecognition RecognizeUncompressed(std::string_view d) {
    if (d.substr(0, kRastateMagic.size()) == kRastateMagic) {
        return RecognizeRastate(d);
    }
    return RecognizeCore(d);
}

// zlib's level bits in a stream header: fastest, fast, default, best.
int LevelOfZlibHeader(std::string_view stream) {
    constexpr int kLevels[] = {1, 5, 6, 9};
    return stream.size() >= 2 ? kLevels[(static_cast<unsigned char>(stream[1]) >> 6) & 3] : 6;
}

// Inflates one stream (zlib or raw deflate, by windowBits) and says where it ended.
bool Inflate(std::string_view in, int windowBits, std::size_t limit, std::string& out,
             std::size_t& used) {
    z_stream z{};
    if (inflateInit2(&z, windowBits) != Z_OK) {
        return false;
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    std::array<char, 65536> buffer;
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer.data());
        z.avail_out = buffer.size();
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer.data(), buffer.size() - z.avail_out);
        if (out.size() > limit || (status == Z_BUF_ERROR && z.avail_in == 0)) {
            status = Z_DATA_ERROR;
        }
    }
    used = in.size() - z.avail_in;
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

bool Deflate(std::string_view in, int level, int windowBits, std::string& out) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return false;
    }
    const std::size_t start = out.size();
    out.resize(start + deflateBound(&z, static_cast<uLong>(in.size())));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    z.avail_out = static_cast<uInt>(out.size() - start);
    const int status = deflate(&z, Z_FINISH);
    out.resize(start + z.total_out);
    deflateEnd(&z);
    return status == Z_STREAM_END;
}

// "#RZIPv" 01 "#", u32 chunk size, u64 size, then chunks of u32 length + one zlib stream.
StateRecognition RecognizeRzip(std::string_view file) {
    constexpr std::size_t kHead = 20;
    if (file.size() < kHead) {
        return Refused("a RetroArch RZIP file cut short");
    }
    const std::uint32_t chunk = U32(file, 8);
    const std::uint64_t total = U64(file, 12);
    if (chunk == 0 || total > kInflateLimit) {
        return Refused("a RetroArch RZIP file whose header is damaged");
    }
    std::string out;
    int level = 6;
    std::size_t at = kHead;
    while (out.size() < total) {
        if (file.size() - at < 4) {
            return Refused("a RetroArch RZIP file cut short");
        }
        const std::size_t length = U32(file, at);
        at += 4;
        if (length > file.size() - at) {
            return Refused("a RetroArch RZIP file cut short");
        }
        const std::string_view stream = file.substr(at, length);
        if (at == kHead + 4) {
            level = LevelOfZlibHeader(stream);
        }
        std::string part;
        std::size_t used = 0;
        const std::size_t expected = static_cast<std::size_t>(
            std::min<std::uint64_t>(chunk, total - out.size()));
        // No more than this chunk's share of the stated size: the chunk size is the file's own
        // word and may be huge, and a stream that inflates past it is damaged all the same.
        if (!Inflate(stream, 15, expected, part, used) || used != length ||
            part.size() != expected) {
            return Refused("a RetroArch RZIP file whose compressed data is damaged");
        }
        out += part;
        at += length;
    }
    if (at != file.size()) {
        return Refused("a RetroArch RZIP file with " + Number(static_cast<long long>(file.size() - at)) +
                       " bytes behind its data");
    }
    StateRecognition r = RecognizeUncompressed(out);
    if (!r.Known()) {
        return Refused("a RetroArch RZIP file whose content is not a state this program knows" +
                       (r.found.empty() ? std::string() : " (" + r.found + ")"));
    }
    r.format.name += r.format.name.find(" in RetroArch") == std::string::npos ? " in RetroArch RZIP"
                                                                             : " RZIP";
    r.format.compression = StateCompression::kRzip;
    r.format.rzipChunk = chunk;
    r.format.level = level;
    r.unwrapped = std::move(out);
    return r;
}

// The length of a gzip member's header, 0 when it is damaged.
std::size_t GzipHeaderLength(std::string_view file) {
    enum : unsigned { kText = 1, kHeaderCrc = 2, kExtra = 4, kName = 8, kComment = 16 };
    if (file.size() < 10 || static_cast<unsigned char>(file[2]) != 8) {
        return 0;
    }
    const unsigned flags = static_cast<unsigned char>(file[3]);
    std::size_t at = 10;
    if ((flags & kExtra) != 0) {
        if (file.size() < at + 2) {
            return 0;
        }
        at += 2 + ReadLE(reinterpret_cast<const std::uint8_t*>(file.data() + at), 2);
    }
    for (const unsigned text : {kName, kComment}) {
        if ((flags & text) != 0) {
            const std::size_t end = at < file.size() ? file.find('\0', at) : std::string_view::npos;
            if (end == std::string_view::npos) {
                return 0;
            }
            at = end + 1;
        }
    }
    if ((flags & kHeaderCrc) != 0) {
        at += 2;
    }
    return at <= file.size() ? at : 0;
}

StateRecognition RecognizeGzip(std::string_view file) {
    const std::size_t head = GzipHeaderLength(file);
    std::string out;
    std::size_t used = 0;
    if (head == 0 || !Inflate(file.substr(head), -15, kInflateLimit, out, used) ||
        file.size() - head - used != 8 ||
        U32(file, head + used) !=
            crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())) ||
        U32(file, head + used + 4) != static_cast<std::uint32_t>(out.size())) {
        return Refused("a gzip file that is damaged or holds more than one member");
    }
    StateRecognition r = RecognizeUncompressed(out);
    if (!r.Known()) {
        return Refused("a gzip file whose content is not a state this program knows" +
                       (r.found.empty() ? std::string() : " (" + r.found + ")"));
    }
    r.format.name += ", gzip-compressed";
    r.format.compression = StateCompression::kGzip;
    const unsigned xfl = static_cast<unsigned char>(file[8]);
    r.format.level = xfl == 2 ? 9 : xfl == 4 ? 1 : 6;
    r.format.gzipHeader = std::string(file.substr(0, head));
    r.unwrapped = std::move(out);
    return r;
}

}  // namespace

StateRecognition RecognizeState(std::string_view file) {
    if (file.substr(0, layout::kStateHeaderSize) == layout::kStateHeader) {
        StateRecognition r = Known(StateFormat::kZsnesName, layout::kZsnesWramOffset);
        if (file.size() < static_cast<std::size_t>(layout::kMinStateSize)) {
            r.verdict = StateVerdict::kTooShort;
        }
        return r;
    }
    if (file.substr(0, kRzipMagic.size()) == kRzipMagic) {
        return RecognizeRzip(file);
    }
    if (file.substr(0, kGzipMagic.size()) == kGzipMagic) {
        return RecognizeGzip(file);
    }
    return RecognizeUncompressed(file);
}

bool HasStateMagic(std::string_view bytes) {
    for (const std::string_view magic : {std::string_view(layout::kStateHeader), kBst1,
                                         kSnes9xMagic, kRastateMagic, kRzipMagic}) {
        if (bytes.substr(0, magic.size()) == magic) {
            return true;
        }
    }
    return false;
}

bool WrapState(const StateFormat& format, std::string_view unwrapped, std::string& file) {
    switch (format.compression) {
        case StateCompression::kNone:
            file.assign(unwrapped);
            return true;
        case StateCompression::kGzip: {
            std::string out = format.gzipHeader;
            if (!Deflate(unwrapped, format.level, -15, out)) {
                return false;
            }
            PutU32(out, crc32(0, reinterpret_cast<const Bytef*>(unwrapped.data()),
                              static_cast<uInt>(unwrapped.size())));
            PutU32(out, static_cast<std::uint32_t>(unwrapped.size()));
            file = std::move(out);
            return true;
        }
        case StateCompression::kRzip: {
            if (format.rzipChunk == 0) {
                return false;
            }
            std::string out(kRzipMagic);
            PutU32(out, format.rzipChunk);
            PutU32(out, static_cast<std::uint32_t>(unwrapped.size()));
            PutU32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(unwrapped.size()) >> 32));
            for (std::size_t at = 0; at < unwrapped.size(); at += format.rzipChunk) {
                std::string stream;
                if (!Deflate(unwrapped.substr(at, format.rzipChunk), format.level, 15, stream)) {
                    return false;
                }
                PutU32(out, static_cast<std::uint32_t>(stream.size()));
                out += stream;
            }
            file = std::move(out);
            return true;
        }
    }
    return false;
}

}  // namespace sw
