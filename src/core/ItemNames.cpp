#include "ItemNames.h"

#include <vector>

#include "FileIO.h"
#include "GameText.h"
#include "Layout.h"

namespace sw {

using namespace layout;

bool ReadRomItemNames(const std::string& romPath, ItemNameTable& names) {
    FilePtr rom = OpenFile(romPath, "rb");
    if (!rom) {
        return false;
    }
    // One read of the whole table; a short ROM gives fewer bytes, and only whole records count.
    std::vector<std::uint8_t> table(static_cast<std::size_t>(kItemNameRecordBytes) * kItemCount);
    std::size_t got = 0;
    if (std::fseek(rom.get(), kItemNamesOffset, SEEK_SET) == 0) {
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

bool WriteRomItemName(const std::string& romPath, int code, const std::string& name) {
    if (code < 0 || code >= kItemCount) {
        return false;
    }
    FilePtr rom = OpenFile(romPath, "rb+");
    const long offset = ItemNameRecordOffset(code);
    if (!rom || FileSize(rom.get()) < offset + kItemNameRecordBytes) {
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
    const bool written = WriteAt(rom.get(), offset, record, sizeof record) && Flush(rom.get());
    return std::fclose(rom.release()) == 0 && written;
}

bool RenameRomItem(const std::string& romPath, int code, const std::string& typed,
                   ItemNameTable& names) {
    const std::string name = typed.substr(0, kMaxItemNameLength);
    if (!WriteRomItemName(romPath, code, name)) {
        return false;
    }
    names[code] = name;
    ReadRomItemNames(romPath, names);
    return true;
}

std::string ItemChooserText(const std::string& name, int code) {
    return name + " [" + std::to_string(code) + "]";
}

}  // namespace sw
