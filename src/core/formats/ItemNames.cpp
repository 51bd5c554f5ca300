#include "ItemNames.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "GameText.h"
#include "Layout.h"
#include "Messages.h"
#include "StateCheck.h"

namespace sw {

using namespace layout;

namespace {

// Where the record of `code` lies in this ROM: earlier in one without copier header.
long RecordOffset(std::FILE* rom, int code) {
    return ItemNameRecordOffset(code) - kRomCopierHeaderBytes + RomHeaderBytes(rom);
}

// The ROM opened for update, if it may be written and holds the whole record of `code`.
FilePtr OpenRecordForUpdate(const std::string& romPath, int code, FileProblem& problem) {
    if (code < 0 || code >= kItemCount) {
        problem = {0, "item codes run from 0 to 255, not " + std::to_string(code)};
        return nullptr;
    }
    FilePtr rom = OpenExisting(romPath, FileAccess::kUpdate, problem);
    if (!rom) {
        return nullptr;
    }
    const long start = RecordOffset(rom.get(), code);
    const long end = start + kItemNameRecordBytes;
    if (FileSize(rom.get()) < end) {
        problem = {0, "the ROM holds only " + std::to_string(FileSize(rom.get())) +
                          " bytes and ends before the name of item " + std::to_string(code) +
                          ", which lies at bytes " + std::to_string(start) + "-" +
                          std::to_string(end - 1) + "; it is not a whole game ROM"};
        return nullptr;
    }
    return rom;
}

}  // namespace

bool ReadRomItemNames(const std::string& romPath, ItemNameTable& names, FileProblem& problem) {
    FilePtr rom = OpenExisting(romPath, FileAccess::kRead, problem);
    if (!rom) {
        return false;
    }
    // One read of the whole table; a short ROM gives fewer bytes, and only whole records count.
    std::vector<std::uint8_t> table(static_cast<std::size_t>(kItemNameRecordBytes) * kItemCount);
    std::size_t got = 0;
    if (std::fseek(rom.get(), RecordOffset(rom.get(), 0), SEEK_SET) == 0) {
        got = std::fread(table.data(), 1, table.size(), rom.get());
    }
    const int wholeRecords = static_cast<int>(got / kItemNameRecordBytes);
    for (int code = 0; code < wholeRecords; ++code) {
        const std::uint8_t* record = &table[static_cast<std::size_t>(code) * kItemNameRecordBytes];
        std::string name;
        for (long k = 0; k < kItemNameRecordBytes; ++k) {
            const char c = DecodeGameChar(record[k]);
            if (c == '\0') {
                break;
            }
            name.push_back(c);
        }
        names[code] = name.empty() ? kBlankItemName : name;
    }
    return true;
}

bool ReadRomItemNames(const std::string& romPath, ItemNameTable& names) {
    FileProblem ignored;
    return ReadRomItemNames(romPath, names, ignored);
}

bool WriteRomItemName(const std::string& romPath, int code, const std::string& name,
                      FileProblem& problem, bool foreignAccepted) {
    FilePtr rom = OpenRecordForUpdate(romPath, code, problem);
    WriteLock lock;
    if (!rom ||
        (foreignAccepted ? !StillWritable(rom.get(), romPath, problem) || !lock.Take(rom.get(), problem)
                         : !ReadyToWrite(rom.get(), romPath, FileKind::kRom, nullptr, lock,
                                         problem))) {
        return false;
    }
    std::uint8_t record[kItemNameRecordBytes];
    for (long k = 0; k < kItemNameRecordBytes; ++k) {
        // The terminator is the encoded 0 (0x30), as the game stores it, not a raw 0x00.
        const bool inName =
            k < static_cast<long>(kMaxItemNameLength) && static_cast<std::size_t>(k) < name.size();
        record[k] =
            inName ? static_cast<std::uint8_t>(static_cast<std::uint8_t>(name[k]) + 0x30) : 0x30;
    }
    const bool written = WriteAt(rom.get(), RecordOffset(rom.get(), code), record, sizeof record) &&
                         Flush(rom.get());
    const int error = errno;
    lock.Release();
    const bool closed = std::fclose(rom.release()) == 0;
    if (!written || !closed) {
        problem = {written ? errno : error, std::strerror(written ? errno : error)};
        return false;
    }
    return true;
}

bool RenameRomItem(const std::string& romPath, int code, const std::string& typed,
                   ItemNameTable& names, BackupKeeper& backups, std::string& message,
                   bool foreignAccepted) {
    const std::string name = typed.substr(0, kMaxItemNameLength);
    if (romPath.empty()) {
        message = std::string(msg::kRomWriteFailed) + "\n\n" + msg::kNoRomOpen;
        return false;
    }
    FileProblem problem;
    // Checked before the backup, so that a ROM that cannot take the name costs no backup.
    const bool writable = OpenRecordForUpdate(romPath, code, problem) != nullptr;
    if (writable && !backups.BeforeWrite(romPath, message)) {
        return false;
    }
    if (!writable || !WriteRomItemName(romPath, code, name, problem, foreignAccepted)) {
        message = std::string(msg::kRomWriteFailed) + "\n\n" + Describe(romPath, problem);
        return false;
    }
    names[code] = name;
    ReadRomItemNames(romPath, names);
    return true;
}

bool RomEndsBeforeItemTable(const std::string& romPath) {
    FileProblem problem;
    FilePtr rom = OpenExisting(romPath, FileAccess::kRead, problem);
    return rom && FileSize(rom.get()) < RecordOffset(rom.get(), kItemCount);
}

std::string ItemChooserText(const std::string& name, int code) {
    return name + " [" + std::to_string(code) + "]";
}

}  // namespace sw
