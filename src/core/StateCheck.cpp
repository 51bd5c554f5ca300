#include "StateCheck.h"

#include <sys/stat.h>

#include <cstring>

#include "FileIO.h"
#include "Layout.h"
#include "Messages.h"
#include "PathRules.h"

namespace sw {

bool ValidateStateFile(const std::string& path, Prompter& prompter) {
    std::uint8_t header[layout::kStateHeaderSize] = {};
    long size = -1;
    bool headerRead = false;
    {
        FilePtr file = OpenFile(path, "rb+");
        if (!file) {
            prompter.ShowMessage(msg::kStateOpenFailed);
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

bool RomTitleMatches(const std::string& romPath) {
    FilePtr rom = OpenFile(romPath, "rb");
    char title[layout::kRomTitleBytes + 1] = {};
    if (!rom || !ReadAt(rom.get(), layout::kRomTitleOffset, reinterpret_cast<std::uint8_t*>(title),
                        layout::kRomTitleBytes)) {
        return false;
    }
    // Compared as a text: a 0 inside the title ends it early, which makes it differ.
    return std::strcmp(title, layout::kRomTitle) == 0;
}

int CheckRom(const std::string& statePath, std::string& romPath, Prompter& prompter) {
    const std::string candidate = RomPathFor(statePath);
    if (!OpenFile(candidate, "rb")) {
        return kRomMissing;
    }
    if (!RomTitleMatches(candidate) && !prompter.AskYesNo(msg::kRomWarning)) {
        return kRomDeclined;
    }
    romPath = candidate;
    return kRomAccepted;
}

bool StateFileStillUsable(std::FILE* file, const std::string& path) {
    struct stat held {};
    struct stat named {};
    if (fstat(fileno(file), &held) != 0 || stat(path.c_str(), &named) != 0) {
        return false;
    }
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino &&
           held.st_size >= layout::kMinStateSize;
}

}  // namespace sw
