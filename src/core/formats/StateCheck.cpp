#include "StateCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

#include "FileIO.h"
#include "Layout.h"
#include "Messages.h"
#include "PathRules.h"
#include "Sha256.h"
#include "StateFormat.h"

namespace sw {
namespace {

using layout::kRomCopierHeaderBytes;

// What a save writes, group by group, as the failure message names them.
constexpr const char* kGroupNames[GameState::kSaveGroups] = {
    "party member 1", "party member 2", "party member 3", "party member 4",
    "the money",      "the four texts", "the event flags"};

std::string GroupList(int from, int to) {
    std::string list;
    for (int group = from; group < to; ++group) {
        list += (group == from ? "" : ", ") + std::string(kGroupNames[group]);
    }
    return list;
}

// Where the ROM's title is found: the copier header's size that the layout implies (512, or 0
// for a ROM without one), or -1 when neither place holds it. `read` gives `count` bytes at an
// offset, or none past the end.
long TitleHeader(const std::function<std::string(long, std::size_t)>& read) {
    for (const long header : {kRomCopierHeaderBytes, 0L}) {
        // Compared as a text: a 0 inside the title ends it early, which makes it differ.
        const std::string title =
            read(layout::kRomTitleOffset - kRomCopierHeaderBytes + header, layout::kRomTitleBytes);
        if (std::strcmp(title.c_str(), layout::kRomTitle) == 0) {
            return header;
        }
    }
    return -1;
}

std::function<std::string(long, std::size_t)> ReaderOf(std::FILE* file) {
    return [file](long offset, std::size_t count) {
        std::string bytes(count, '\0');
        return ReadFreshAt(file, offset, reinterpret_cast<std::uint8_t*>(bytes.data()), count)
                   ? bytes
                   : std::string();
    };
}

// As a file read: all `count` bytes, or none.
std::function<std::string(long, std::size_t)> ReaderOf(std::string_view bytes) {
    return [bytes](long offset, std::size_t count) {
        return offset >= 0 && static_cast<std::size_t>(offset) + count <= bytes.size()
                   ? std::string(bytes.substr(static_cast<std::size_t>(offset), count))
                   : std::string();
    };
}

bool HasTitle(std::FILE* rom) {
    return TitleHeader(ReaderOf(rom)) >= 0;
}

// The framing last recognised, with the file's stamp from before the read: opening asks for
// it twice within a moment (the validation, then the ROM check), and a state of another
// emulator is read whole each time. While the stamp is unchanged, the second ask is answered
// from here.
struct KnownFraming {
    std::string path;
    FileStamp stamp;
    StateFormat format;
};
KnownFraming g_lastFraming;

// The framing of the state at the path, for what it tells of its ROM; empty for a ZSNES state
// (and for one that cannot be read: its own checks report that).
StateFormat OtherFormatOfState(const std::string& statePath) {
    if (!g_lastFraming.path.empty() && g_lastFraming.path == statePath &&
        g_lastFraming.stamp == StampOf(statePath)) {
        return g_lastFraming.format;
    }
    const FileStamp before = StampOf(statePath);  // taken first: a change while reading shows
    FileProblem problem;
    FilePtr file = OpenExisting(statePath, FileAccess::kRead, problem);
    std::uint8_t header[layout::kStateHeaderSize] = {};
    std::string bytes;
    if (!file || !ReadAt(file.get(), 0, header, sizeof header) ||
        std::memcmp(header, layout::kStateHeader, sizeof header) == 0 ||
        !ReadAllOf(file.get(), bytes, problem)) {
        return {};
    }
    const StateRecognition found = RecognizeState(bytes);
    if (!found.Known()) {
        return {};
    }
    g_lastFraming = {statePath, before, found.format};
    return found.format;
}

// Whether the ROM (one with the title) is the one the state was made with, as far as the state
// tells: a bsnes state names its SHA-256 without copier header, and a bsnes or ares state holds
// as much battery RAM as the ROM's header says (1 KiB << n at 0xFFD8, none for 0; a byte past 7
// says nothing).
bool RomFitsState(std::FILE* rom, const StateFormat& state) {
    const long header = RomHeaderBytes(rom);
    std::uint8_t size = 0;
    if (state.sram >= 0 &&
        ReadAt(rom, layout::kRomTitleOffset - kRomCopierHeaderBytes + header + 0x18, &size, 1) &&
        size <= 7 && state.sram != (size == 0 ? 0 : 1024L << size)) {
        return false;
    }
    std::string bytes;
    FileProblem problem;
    if (state.romSha256.empty()) {
        return true;
    }
    if (!ReadAllOf(rom, bytes, problem)) {
        return false;
    }
    return Sha256Hex(std::string_view(bytes).substr(
               std::min(bytes.size(), static_cast<std::size_t>(header)))) == state.romSha256;
}

bool StateLongEnough(long long size, FileProblem& problem) {
    if (size < layout::kMinStateSize) {
        problem = {0, "it is too short to be a Vellumgate save state (" + std::to_string(size) +
                          " bytes; at least 43,163 are needed)"};
        return false;
    }
    return true;
}

// The kind of a file from its bytes (`read` gives `count` of them at an offset; a state
// that is not ZSNES's is read whole).
FileKind KindOf(long long size, const std::function<std::string(long, std::size_t)>& read,
                FileProblem& problem) {
    const std::string head = read(0, layout::kStateHeaderSize);
    if (head == layout::kStateHeader) {
        return StateLongEnough(size, problem) ? FileKind::kSaveState : FileKind::kNone;
    }
    if (HasStateMagic(head) || head.substr(0, 2) == "\x1f\x8b") {
        const StateRecognition found = RecognizeState(read(0, static_cast<std::size_t>(size)));
        if (found.Known()) {
            return FileKind::kSaveState;
        }
        if (!found.found.empty()) {
            problem = {0, "it is " + found.found};
            return FileKind::kNone;
        }
    }
    if (TitleHeader(read) >= 0) {
        return FileKind::kRom;
    }
    problem = {0, "it is neither a save state nor the game's ROM (it may be damaged)"};
    return FileKind::kNone;
}

FileKind KindOfOpenFile(std::FILE* file, long long size, FileProblem& problem) {
    return KindOf(size, ReaderOf(file), problem);
}

// The problem of bytes that are no usable state, in the words of CheckStateBytes.
bool ProblemOf(const StateRecognition& found, long long size, FileProblem& problem) {
    switch (found.verdict) {
        case StateVerdict::kKnown:
            return true;
        case StateVerdict::kTooShort:
            return StateLongEnough(size, problem);
        case StateVerdict::kRefused:
            problem = {0, "it is " + found.found};
            return false;
        case StateVerdict::kUnknown:
            break;
    }
    problem = {0, "it is not a ZSNES save state"};
    return false;
}

// A compressed state: its bytes unwrapped, patched, wrapped again and put in the file's place
// whole (a new file renamed over it), so that it is either the old file or the new one.
std::string RewriteCompressed(const std::string& path, const GameState& state, std::string bytes) {
    FileProblem problem;
    if (!state.WriteAll(bytes)) {
        return std::string(msg::kSaveFailed) + path +
               ": the state could not be compressed again\n\n" + msg::kNothingWritten;
    }
    if (!ReplaceFile(path, bytes, problem)) {
        return std::string(msg::kSaveFailed) + Describe(path, problem) + "\n\n" +
               msg::kNothingWritten;
    }
    return {};
}

}  // namespace

FileKind KindOfBytes(std::string_view bytes, FileProblem& problem) {
    return KindOf(static_cast<long long>(bytes.size()), ReaderOf(bytes), problem);
}

const char* KindName(FileKind kind) {
    switch (kind) {
        case FileKind::kSaveState:
            return "a save state";
        case FileKind::kRom:
            return "a game ROM";
        case FileKind::kNone:
            break;
    }
    return "no file this program knows";
}

bool ReadyToWrite(std::FILE* file, const std::string& path, FileKind kind,
                  const FileIdentity* opened, WriteLock& lock, FileProblem& problem) {
    if (!StillWritable(file, path, problem, opened) || !lock.Take(file, problem)) {
        return false;
    }
    // A stream without a descriptor (a test's seam over the writes) has the size of its path.
    const long held = FileSize(file);
    const long long size = held >= 0 ? held : StampOf(path).size;
    FileProblem found;
    const FileKind now = KindOfOpenFile(file, size, found);
    if (now == kind) {
        return true;
    }
    if (kind == FileKind::kRom && now != FileKind::kRom) {
        problem = {0, "it no longer carries the game's title: another game's ROM, or a damaged "
                      "one, is in its place since it was opened"};
        return false;
    }
    problem = {0, std::string("it is no longer ") + KindName(kind) + ": " +
                      (now == FileKind::kNone ? found.reason : "it is " + std::string(KindName(now)))};
    return false;
}

bool ValidateStateFile(const std::string& path, Prompter& prompter) {
    const FileStamp before = StampOf(path);
    std::uint8_t header[layout::kStateHeaderSize] = {};
    long size = -1;
    bool headerRead = false;
    std::string bytes;
    {
        FileProblem problem;
        FilePtr file = OpenExisting(path, FileAccess::kUpdate, problem);
        if (!file) {
            prompter.ShowMessage(std::string(msg::kStateOpenFailed) + "\n\n" +
                                 Describe(path, problem));
            return false;
        }
        headerRead = ReadAt(file.get(), 0, header, sizeof header);
        size = FileSize(file.get());
        // Only another emulator's state is read whole to be recognised.
        if (std::memcmp(header, layout::kStateHeader, sizeof header) != 0 &&
            !ReadAllOf(file.get(), bytes, problem)) {
            bytes.clear();
        }
    }
    if (headerRead && std::memcmp(header, layout::kStateHeader, sizeof header) == 0) {
        if (size < layout::kMinStateSize) {
            prompter.ShowMessage(msg::kStateTooShort);
            return false;
        }
        return true;
    }
    const StateRecognition found = RecognizeState(bytes);
    if (found.Known()) {
        g_lastFraming = {path, before, found.format};
        return true;
    }
    prompter.ShowMessage(found.found.empty() ? std::string(msg::kNotAState)
                                             : msg::kStateNotKnown + found.found + ".");
    return false;
}

bool CheckStateBytes(std::string_view bytes, FileProblem& problem) {
    return ProblemOf(RecognizeState(bytes), static_cast<long long>(bytes.size()), problem);
}

bool ReadStateBytes(const std::string& path, std::string& bytes, FileProblem& problem) {
    return ReadWholeFile(path, bytes, problem) && CheckStateBytes(bytes, problem);
}

bool RomTitleMatches(const std::string& romPath) {
    FileProblem problem;
    FilePtr rom = OpenExisting(romPath, FileAccess::kRead, problem);
    return rom && HasTitle(rom.get());
}

long RomHeaderBytes(std::FILE* rom) {
    return TitleHeader(ReaderOf(rom)) == 0 ? 0 : kRomCopierHeaderBytes;
}

long RomHeaderBytesOf(std::string_view bytes) {
    return TitleHeader(ReaderOf(bytes)) == 0 ? 0 : kRomCopierHeaderBytes;
}

int CheckRom(const std::string& statePath, std::string& romPath, Prompter& prompter,
             const std::string& chosenRom) {
    const std::vector<std::string> candidates =
        chosenRom.empty() ? RomCandidatesFor(statePath) : std::vector<std::string>{chosenRom};
    for (const std::string& candidate : candidates) {
        FileProblem problem;
        FilePtr rom = OpenExisting(candidate, FileAccess::kRead, problem);
        if (!rom) {
            continue;
        }
        // Another ROM with the title is still foreign to a state that names its own.
        const bool matches =
            HasTitle(rom.get()) && RomFitsState(rom.get(), OtherFormatOfState(statePath));
        if (!matches && !prompter.AskYesNo(msg::kRomWarning)) {
            return kRomDeclined;
        }
        romPath = candidate;
        return kRomAccepted;
    }
    return kRomMissing;
}

bool IsSaveState(const std::string& path) {
    FileProblem problem;
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    std::string bytes;
    if (!file || !ReadAllOf(file.get(), bytes, problem)) {
        return false;
    }
    // Any state framing at all, known version or not, and any gzip file (snes9x compresses its
    // states so; no configuration ever is one).
    return HasStateMagic(bytes) || bytes.compare(0, 2, "\x1f\x8b") == 0;
}

std::string SaveStateFile(std::FILE* file, const std::string& path, const GameState& state,
                          BackupKeeper& backups, const FileIdentity* opened) {
    FileProblem problem;
    WriteLock lock;
    if (!ReadyToWrite(file, path, FileKind::kSaveState, opened, lock, problem)) {
        return std::string(msg::kSaveFailed) + Describe(path, problem) + "\n\n" +
               msg::kNothingWritten;
    }
    std::string message;
    if (!backups.BeforeWrite(path, message)) {
        return message;
    }
    // The backup's own read of the file let go of the fcntl lock: taken again for the write.
    if (!lock.Take(file, problem)) {
        return std::string(msg::kSaveFailed) + Describe(path, problem) + "\n\n" +
               msg::kNothingWritten;
    }
    // Where the fields lie in this file; a compressed state is rewritten whole.
    long shift = 0;
    std::uint8_t header[layout::kStateHeaderSize] = {};
    ReadFreshAt(file, 0, header, sizeof header);
    if (std::memcmp(header, layout::kStateHeader, sizeof header) != 0) {
        const long size = FileSize(file);
        std::string bytes(static_cast<std::size_t>(std::max(size, 0L)), '\0');
        if (size < 0 ||
            !ReadFreshAt(file, 0, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size())) {
            return std::string(msg::kSaveFailed) + path + ": " + LastErrorText() + "\n\n" +
                   msg::kNothingWritten;
        }
        const StateRecognition found = RecognizeState(bytes);
        if (found.format.compression != StateCompression::kNone) {
            lock.Release();  // the replace takes its own look at other programs' locks
            return RewriteCompressed(path, state, std::move(bytes));
        }
        shift = found.format.FieldShift();
    }
    errno = 0;
    const int written = state.WriteAll(file, shift);
    if (written == GameState::kSaveGroups) {
        return {};
    }
    const std::string reason = errno != 0 ? std::strerror(errno) : "the write failed";
    std::string text = std::string(msg::kSaveFailed) + path + ": " + reason + "\n\n";
    text += std::string("Writing stopped at the failure, in ") + kGroupNames[written] +
            ", which may be partly written.";
    if (written > 0) {
        text += " Written before it: " + GroupList(0, written) + ".";
    }
    if (written + 1 < GameState::kSaveGroups) {
        text += " Not written: " + GroupList(written + 1, GameState::kSaveGroups) + ".";
    }
    return text;
}

}  // namespace sw
