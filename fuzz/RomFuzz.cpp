// The ROM's title check, its item-name reader and the writer of one record. The ROM is a
// sparse file: the input's first 11 bytes at the title's offset (65,984), the rest at the name
// table's (1,397,248), zeros between; so the input sets the title, the records and the length.
// Properties:
// - the title matches exactly when the 11 bytes are "VELLUM GATE", and only then is no
//   question asked;
// - every record lying wholly in the file reads as its bytes decoded up to the first 0x00 or
//   0x30 ("<blank>" when empty), and no other entry is touched;
// - renaming one item (code and name from the input) writes that record alone, succeeds
//   exactly when the record lies in the file, never changes the length, and reads back.
#include <fcntl.h>

#include <cstring>

#include "FuzzSupport.h"
#include "ItemNames.h"
#include "StateCheck.h"

namespace sw::fuzz {
namespace {

constexpr long kTitleAt = 65984;
constexpr std::size_t kTitleBytes = 11;
constexpr long kTableAt = 1397248;
constexpr long kRecordBytes = 39;

void WriteRom(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0);
    const std::size_t title = std::min(size, kTitleBytes);
    FUZZ_CHECK(pwrite(fd, data, title, kTitleAt) == static_cast<ssize_t>(title));
    if (size > kTitleBytes) {
        const std::size_t rest = size - kTitleBytes;
        FUZZ_CHECK(pwrite(fd, data + kTitleBytes, rest, kTableAt) == static_cast<ssize_t>(rest));
    }
    FUZZ_CHECK(close(fd) == 0);
}

Bytes ReadTable(const std::string& path, std::size_t size) {
    Bytes table(size);
    const int fd = open(path.c_str(), O_RDONLY);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(pread(fd, table.data(), size, kTableAt) == static_cast<ssize_t>(size));
    close(fd);
    return table;
}

// A name as the reader must give it: characters up to the first byte that decodes to 0.
std::string Decoded(const std::uint8_t* record) {
    std::string name;
    for (long k = 0; k < kRecordBytes && record[k] != 0x00 && record[k] != 0x30; ++k) {
        name.push_back(static_cast<char>(record[k] - 0x30));
    }
    return name.empty() ? kBlankItemName : name;
}

const std::string kUnread(40, 'u');  // longer than any record can give

}  // namespace
}  // namespace sw::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    using namespace sw::fuzz;
    const std::string path = PathIn("rom.smc");
    WriteRom(path, data, size);
    const long length = SizeOf(path);
    const bool titled = size >= kTitleBytes && std::memcmp(data, "VELLUM GATE", kTitleBytes) == 0;
    FUZZ_CHECK(RomTitleMatches(path) == titled);
    CountingPrompter prompter;  // answers No
    std::string romPath;
    FUZZ_CHECK(CheckRom(PathIn("rom.zs1"), romPath, prompter) ==
               (titled ? kRomAccepted : kRomDeclined));
    FUZZ_CHECK(prompter.questions == (titled ? 0 : 1) && romPath == (titled ? path : ""));

    const std::size_t table = size > kTitleBytes ? size - kTitleBytes : 0;
    const auto inFile = [&](int code) {
        return code >= 0 && code < 256 && (code + 1) * kRecordBytes <= static_cast<long>(table);
    };
    ItemNameTable names;
    names.fill(kUnread);
    FUZZ_CHECK(ReadRomItemNames(path, names));
    for (int code = 0; code < 256; ++code) {
        FUZZ_CHECK(names[code] ==
                   (inFile(code) ? Decoded(data + kTitleBytes + code * kRecordBytes) : kUnread));
    }

    // Code -1 to 256 and a name of up to 45 bytes, both from the input.
    const int code = static_cast<int>(size % 258) - 1;
    const std::size_t nameAt = size / 2;
    const std::string typed(reinterpret_cast<const char*>(data) + nameAt,
                            std::min<std::size_t>(45, size - nameAt));
    ItemNameTable renamed = names;
    BackupKeeper noBackups = BackupKeeper::Off();
    std::string message;
    // Accepted as the user does a foreign title: the fuzzed bytes rarely carry the game's.
    FUZZ_CHECK(RenameRomItem(path, code, typed, renamed, noBackups, message, true) == inFile(code));
    FUZZ_CHECK(message.empty() == inFile(code));
    FUZZ_CHECK(SizeOf(path) == length);
    Bytes expected(data + std::min(size, kTitleBytes), data + size);
    if (inFile(code)) {
        std::uint8_t* record = &expected[static_cast<std::size_t>(code) * kRecordBytes];
        for (long k = 0; k < kRecordBytes; ++k) {
            const bool inName = k < 38 && static_cast<std::size_t>(k) < typed.size();
            record[k] = inName ? static_cast<std::uint8_t>(typed[k] + 0x30) : 0x30;
        }
        names[code] = Decoded(record);
    }
    FUZZ_CHECK(ReadTable(path, table) == expected);
    FUZZ_CHECK(renamed == names);
    FUZZ_CHECK(RomTitleMatches(path) == titled);
    return 0;
}
