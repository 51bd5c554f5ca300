#include "StateCheck.h"

#include <cerrno>
#include <cstring>
#include <functional>

#include "FileIO.h"
#include "Layout.h"
#include "Messages.h"
#include "PathRules.h"

namespace sw {
namespace {

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

bool HasTitle(std::FILE* rom) {
    char title[layout::kRomTitleBytes + 1] = {};
    if (!ReadAt(rom, layout::kRomTitleOffset, reinterpret_cast<std::uint8_t*>(title),
                layout::kRomTitleBytes)) {
        return false;
    }
    // Compared as a text: a 0 inside the title ends it early, which makes it differ.
    return std::strcmp(title, layout::kRomTitle) == 0;
}

bool StateLongEnough(long long size, FileProblem& problem) {
    if (size < layout::kMinStateSize) {
        problem = {0, "it is too short to be a Vellumgate save state (" + std::to_string(size) +
                          " bytes; at least 43,163 are needed)"};
        return false;
    }
    return true;
}

// The kind of a file of `size` bytes, from the few bytes that tell it (read by `read`).
FileKind KindOf(long long size, const std::function<std::string(long, std::size_t)>& read,
                FileProblem& problem) {
    const std::string header = read(0, layout::kStateHeaderSize);
    if (header == layout::kStateHeader) {
        return StateLongEnough(size, problem) ? FileKind::kSaveState : FileKind::kNone;
    }
    if (read(layout::kRomTitleOffset, layout::kRomTitleBytes) == layout::kRomTitle) {
        return FileKind::kRom;
    }
    problem = {0, "it is neither a save state nor the game's ROM (it may be damaged)"};
    return FileKind::kNone;
}

FileKind KindOfOpenFile(std::FILE* file, long long size, FileProblem& problem) {
    return KindOf(
        size,
        [file](long offset, std::size_t count) {
            std::string bytes(count, '\0');
            return ReadFreshAt(file, offset, reinterpret_cast<std::uint8_t*>(bytes.data()), count)
                       ? bytes
                       : std::string();
        },
        problem);
}

}  // namespace

FileKind KindOfBytes(std::string_view bytes, FileProblem& problem) {
    return KindOf(
        static_cast<long long>(bytes.size()),
        [bytes](long offset, std::size_t count) {
            return static_cast<std::size_t>(offset) + count <= bytes.size()
                       ? std::string(bytes.substr(static_cast<std::size_t>(offset), count))
                       : std::string();
        },
        problem);
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
    std::uint8_t header[layout::kStateHeaderSize] = {};
    long size = -1;
    bool headerRead = false;
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
    }
    if (!headerRead || std::memcmp(header, layout::kStateHeader, sizeof header) != 0) {
        prompter.ShowMessage(msg::kNotAState);
        return false;
    }
    if (size < layout::kMinStateSize) {
        prompter.ShowMessage(msg::kStateTooShort);
        return false;
    }
    return true;
}

bool CheckStateBytes(std::string_view bytes, FileProblem& problem) {
    if (bytes.substr(0, layout::kStateHeaderSize) != layout::kStateHeader) {
        problem = {0, "it is not a ZSNES save state"};
        return false;
    }
    return StateLongEnough(static_cast<long long>(bytes.size()), problem);
}

bool ReadStateBytes(const std::string& path, std::string& bytes, FileProblem& problem) {
    return ReadWholeFile(path, bytes, problem) && CheckStateBytes(bytes, problem);
}

bool RomTitleMatches(const std::string& romPath) {
    FileProblem problem;
    FilePtr rom = OpenExisting(romPath, FileAccess::kRead, problem);
    return rom && HasTitle(rom.get());
}

int CheckRom(const std::string& statePath, std::string& romPath, Prompter& prompter) {
    const std::string candidate = RomPathFor(statePath);
    FileProblem problem;
    FilePtr rom = OpenExisting(candidate, FileAccess::kRead, problem);
    if (!rom) {
        return kRomMissing;
    }
    if (!HasTitle(rom.get()) && !prompter.AskYesNo(msg::kRomWarning)) {
        return kRomDeclined;
    }
    romPath = candidate;
    return kRomAccepted;
}

bool IsSaveState(const std::string& path) {
    FileProblem problem;
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    std::uint8_t header[layout::kStateHeaderSize] = {};
    return file && ReadAt(file.get(), 0, header, sizeof header) &&
           std::memcmp(header, layout::kStateHeader, sizeof header) == 0;
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
    errno = 0;
    const int written = state.WriteAll(file);
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
