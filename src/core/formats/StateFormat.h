// The framings in which emulators keep the console's work RAM, and so the game's fields:
// ZSNES states, bsnes-mercury v094 and ares v126 serializer output, snes9x snapshots, and
// RetroArch's RASTATE container, bare or in its RZIP compression (gzip for snes9x).
// Recognising unwraps a file as far as its work RAM; wrapping puts patched bytes back into the
// wrapper they came in, with its parameters, so that nothing but the fields changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Layout.h"

namespace sw {

enum class StateCompression { kNone, kGzip, kRzip };

struct StateFormat {
    std::string name;  // as `show` names it: "ZSNES 1.43", "bsnes-mercury v094 Accuracy", ...
    StateCompression compression = StateCompression::kNone;
    // Where the work RAM starts in the unwrapped bytes (the file itself when not compressed).
    long wram = layout::kZsnesWramOffset;
    // bsnes: the SHA-256 of the ROM (without copier header) the state was made with, lower-case
    // hex; empty when the state names none.
    std::string romSha256;
    long sram = -1;  // battery RAM the state holds, where its layout tells it

    // Compression parameters, so that a rewrap compresses as the emulator did.
    int level = 6;                   // zlib level
    std::uint32_t rzipChunk = 0;     // RZIP chunk size
    std::string gzipHeader;          // gzip member header, kept byte for byte

    // What to add to a field's offset in the table of Layout.h to find it in the unwrapped
    // bytes: 0 for ZSNES.
    long FieldShift() const { return wram - layout::kZsnesWramOffset; }
    bool IsZsnes() const { return name == kZsnesName; }

    static constexpr char kZsnesName[] = "ZSNES 1.43";
};

enum class StateVerdict {
    kKnown,     // a state this program reads and writes
    kRefused,   // a state of a known emulator, but one that does not fit: `found` says why
    kTooShort,  // a ZSNES state too short to hold every field
    kUnknown,   // no magic of any state this program knows
};

struct StateRecognition {
    StateVerdict verdict = StateVerdict::kUnknown;
    StateFormat format;
    // What the bytes are, for a message: "a bsnes state of serializer version 28, which this
    // program does not know". Empty when known.
    std::string found;
    // The decompressed bytes; empty when the file was not compressed (then the file's own
    // bytes are the unwrapped ones).
    std::string unwrapped;

    bool Known() const { return verdict == StateVerdict::kKnown; }
    // The bytes the fields lie in: the unwrapped ones, or the file's own.
    std::string_view Bytes(std::string_view file) const {
        return format.compression == StateCompression::kNone ? file : std::string_view(unwrapped);
    }
};

// Looks at a whole file's bytes. Compressed data is undone up to a bound (16 MiB).
StateRecognition RecognizeState(std::string_view file);

// Whether the bytes begin with the magic of any state framing this program knows, whatever
// their version: such a file is never written over as another kind.
bool HasStateMagic(std::string_view bytes);

// The file's bytes after a patch of the unwrapped ones: these themselves when not compressed,
// else compressed again with the format's parameters. False when compression failed.
bool WrapState(const StateFormat& format, std::string_view unwrapped, std::string& file);

}  // namespace sw
