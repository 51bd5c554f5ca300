#include "StateCheck.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

}  // namespace

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
    if (bytes.size() < static_cast<std::size_t>(layout::kMinStateSize)) {
        problem = {0, "it is too short to be a Vellumgate save state (" +
                          std::to_string(bytes.size()) + " bytes; at least 43,163 are needed)"};
        return false;
    }
    return true;
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
                          BackupKeeper& backups) {
    FileProblem problem;
    bool usable = StillWritable(file, path, problem);
    struct stat info {};
    if (usable && (stat(path.c_str(), &info) != 0 || info.st_size < layout::kMinStateSize)) {
        problem.reason = "the file has been cut short since it was opened";
        usable = false;
    }
    if (!usable) {
        return std::string(msg::kSaveFailed) + Describe(path, problem) + "\n\n" +
               msg::kNothingWritten;
    }
    std::string message;
    if (!backups.BeforeWrite(path, message)) {
        return message;
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
