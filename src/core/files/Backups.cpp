#include "Backups.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "Layout.h"
#include "Messages.h"
#include "PathRules.h"
#include "StateCheck.h"

namespace sw {
namespace {

constexpr char kSuffix[] = ".bak";
constexpr char kOwnerFile[] = "owner";
constexpr std::size_t kStampLength = 20;    // 20261207T035214.123Z
constexpr std::size_t kSequenceDigits = 6;  // 000001; more digits once past 999999
constexpr std::size_t kNamePartBytes = 64;  // of the file's name, in its folder's name
constexpr int kSameHashTries = 16;          // folders for names whose paths share a hash

// "20261207T035214.123Z" for a time in milliseconds since 1970.
std::string StampOfTime(long long milliseconds) {
    using namespace std::chrono;
    const sys_time<std::chrono::milliseconds> time{std::chrono::milliseconds(milliseconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[32];
    std::snprintf(
        text, sizeof text, "%04d%02u%02uT%02d%02d%02d.%03dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

bool IsStamp(std::string_view text) {
    return text.size() == kStampLength && text[8] == 'T' && text[15] == '.' && text[19] == 'Z' &&
           IsDigits(text.substr(0, 8)) && IsDigits(text.substr(9, 6)) &&
           IsDigits(text.substr(16, 3));
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.find_last_of(kPathSeparators) != folder.size() - 1) {
        folder += kPathSeparator;
    }
    return folder;
}

// The key a file's backups are kept under: its absolute path, links resolved (on Windows
// without case, so that two spellings of one file share their backups).
std::string OwnerKey(const std::string& path) {
    return ComparablePath(ResolvedPath(path));
}

std::string HashText(const std::string& key) {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a, 64 bits
    for (unsigned char c : key) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// The file's name, cut to a length that leaves room in a folder name, at a character's start.
std::string NamePart(const std::string& path) {
    std::string name = StateFileName(path);
    if (name.size() > kNamePartBytes) {
        std::size_t cut = kNamePartBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return name;
}

// The owner file as written, or empty; a file just being made is waited for a moment.
std::string OwnerIn(const std::string& dir) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::string text;
        FileProblem problem;
        if (!ReadWholeFile(dir + kOwnerFile, text, problem, 1u << 16)) {
            return {};
        }
        if (!text.empty() && text.back() == '\n') {
            return text.substr(0, text.size() - 1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

// The folder of the file's backups: the first of "<name>-<hash>", "<name>-<hash>-2"... whose
// owner is this file, or that has none yet. With `make`, it is made and claimed.
bool OwnFolder(const std::string& folder, const std::string& key, bool make, std::string& dir,
               FileProblem& problem) {
    const std::string base = WithSlash(folder) + NamePart(key) + "-" + HashText(key);
    for (int n = 1; n <= kSameHashTries; ++n) {
        dir = (n == 1 ? base : base + "-" + std::to_string(n)) + kPathSeparator;
        if (make && !MakeFolders(dir, 0700, problem)) {
            return false;
        }
        std::string owner = OwnerIn(dir);
        if (owner.empty() && make) {
            FileProblem taken;
            if (FilePtr file = CreateNewFile(dir + kOwnerFile, 0600, taken)) {
                const std::string line = key + "\n";
                if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() ||
                    !Flush(file.get())) {
                    problem = {errno, "cannot write " + dir + kOwnerFile + ": " + LastErrorText()};
                    file.reset();
                    RemoveFile(dir + kOwnerFile);
                    return false;
                }
                return true;
            }
            if (taken.error != EEXIST) {
                problem = {taken.error, "cannot write " + Describe(dir + kOwnerFile, taken)};
                return false;
            }
            owner = OwnerIn(dir);  // another process claimed it a moment ago
        }
        if (owner == key) {
            return true;
        }
        if (owner.empty() && !make) {
            return false;
        }
    }
    problem = {0, "too many files share the backup folder name " + base};
    return false;
}

// "000012.bak": its sequence, or false. The name is the sequence alone, so that creating it
// exclusively gives each backup its own number; when it was made is the file's own time.
bool ParseBackupName(const std::string& name, long long& sequence) {
    const std::size_t digits = name.size() - (sizeof kSuffix - 1);
    if (!EndsWith(name, kSuffix) || digits > 18 || !IsDigits(name.substr(0, digits))) {
        return false;
    }
    sequence = std::atoll(name.substr(0, digits).c_str());
    return sequence > 0;
}

std::vector<BackupEntry> BackupsIn(const std::string& dir) {
    std::vector<BackupEntry> found;
    std::vector<FolderEntry> entries;
    ListFolder(dir, entries);
    for (const FolderEntry& entry : entries) {
        BackupEntry backup;
        if (entry.regular && ParseBackupName(entry.name, backup.sequence)) {
            backup.path = dir + entry.name;
            backup.stamp = StampOfTime(entry.modified);
            backup.size = entry.size;
            found.push_back(backup);
        }
    }
    std::sort(found.begin(), found.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.sequence > b.sequence;
    });
    return found;
}

std::string SequenceText(long long sequence) {
    std::string digits = std::to_string(sequence);
    return std::string(digits.size() < kSequenceDigits ? kSequenceDigits - digits.size() : 0,
                       '0') +
           digits;
}

// The backup being restored must be one of the file's own, or one of the earlier naming.
bool IsBackupOf(const std::string& folder, const std::string& backupPath,
                const std::string& path) {
    const std::string resolved = ComparablePath(ResolvedPath(backupPath));
    for (const auto& list : {ListBackups(folder, path), ListOlderBackups(folder, path)}) {
        for (const BackupEntry& entry : list) {
            if (ComparablePath(ResolvedPath(entry.path)) == resolved) {
                return true;
            }
        }
    }
    return false;
}

bool Refuse(FileProblem& problem, const std::string& path, const std::string& reason) {
    problem = {0, path + ": " + reason};
    return false;
}

}  // namespace

std::string DefaultBackupFolder() {
    const std::string data = UserDataFolder();
    return data.empty() ? data : data + "backups" + kPathSeparator;
}

std::string NoBackupFolderText() {
    return "There is no folder for backups: " + NoUserDataFolderReason() +
           ", or, on the command line, give --no-backup to write without a backup.";
}

std::string BackupFolderOf(const std::string& folder, const std::string& path) {
    std::string dir;
    FileProblem ignored;
    return OwnFolder(folder, OwnerKey(path), false, dir, ignored) ? dir : std::string();
}

std::vector<BackupEntry> ListBackups(const std::string& folder, const std::string& path) {
    const std::string dir = BackupFolderOf(folder, path);
    return dir.empty() ? std::vector<BackupEntry>() : BackupsIn(dir);
}

std::vector<BackupEntry> ListOlderBackups(const std::string& folder, const std::string& path) {
    const std::string prefix = StateFileName(path) + ".";
    const std::size_t suffix = sizeof kSuffix - 1;
    std::vector<BackupEntry> found;
    std::vector<FolderEntry> entries;
    ListFolder(folder, entries);
    for (const FolderEntry& entry : entries) {
        const std::string& name = entry.name;
        if (!entry.regular || name.size() != prefix.size() + kStampLength + suffix ||
            name.compare(0, prefix.size(), prefix) != 0 || !EndsWith(name, kSuffix)) {
            continue;
        }
        const std::string stamp = name.substr(prefix.size(), kStampLength);
        if (IsStamp(stamp)) {
            found.push_back({WithSlash(folder) + name, stamp, 0, entry.size});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return a.stamp > b.stamp; });
    return found;
}

bool MakeBackup(const std::string& folder, const std::string& path, std::string& backupPath,
                FileProblem& problem, const std::string& keep) {
    FilePtr source = OpenExisting(path, FileAccess::kRead, problem);
    if (!source) {
        problem.reason = "cannot read " + Describe(path, problem);
        return false;
    }
    std::string dir;
    if (!MakeFolders(folder, 0700, problem) ||
        !OwnFolder(folder, OwnerKey(path), true, dir, problem)) {
        problem.reason = "cannot make the backup folder: " + problem.reason;
        return false;
    }
    // The next number after the newest; taken exclusively, so that two programs backing up
    // at once each get their own.
    const std::vector<BackupEntry> before = BackupsIn(dir);
    long long sequence = before.empty() ? 1 : before.front().sequence + 1;
    FilePtr copy;
    for (int attempt = 0; !copy; ++attempt, ++sequence) {
        backupPath = dir + SequenceText(sequence) + kSuffix;
        copy = CreateNewFile(backupPath, 0600, problem);
        if (!copy && (problem.error != EEXIST || attempt > 1000)) {
            problem.reason = "cannot write " + Describe(backupPath, problem);
            return false;
        }
    }
    if (!CopyAll(source.get(), copy.get(), problem) || std::fclose(copy.release()) != 0) {
        if (problem.reason.empty() || problem.error == 0) {
            problem = {errno, LastErrorText()};
        }
        RemoveFile(backupPath);  // never a half copy
        problem.reason = "cannot write " + Describe(backupPath, problem);
        return false;
    }
    const std::vector<BackupEntry> kept = BackupsIn(dir);
    const std::string protectedPath =
        keep.empty() ? std::string() : ComparablePath(ResolvedPath(keep));
    std::size_t count = 0;
    for (const BackupEntry& entry : kept) {
        if (entry.path == backupPath ||
            (!protectedPath.empty() && ComparablePath(ResolvedPath(entry.path)) == protectedPath)) {
            continue;
        }
        if (++count >= kBackupsKept) {
            RemoveFile(entry.path);
        }
    }
    return true;
}

bool RestoreBackup(const std::string& folder, bool backupsOn, const std::string& backupPath,
                   const std::string& path, FileProblem& problem) {
    // Every check comes before the backup of the file as it is: a refusal changes nothing.
    if (!IsPlainFile(backupPath)) {
        FileProblem kind;
        return Refuse(problem, backupPath,
                      OpenExisting(backupPath, FileAccess::kRead, kind)
                          ? "it is a link, not a backup this program made"
                          : kind.reason);
    }
    if (!IsBackupOf(folder, backupPath, path)) {
        return Refuse(problem, backupPath,
                      "it is not one of the backups of " + path +
                          " (statewright-cli backups lists them)");
    }
    FilePtr backup = OpenExisting(backupPath, FileAccess::kRead, problem);
    std::string bytes;
    if (!backup || !ReadAllOf(backup.get(), bytes, problem)) {
        problem.reason = "cannot read " + Describe(backupPath, problem);
        return false;
    }
    FileProblem kindProblem;
    const FileKind kind = KindOfBytes(bytes, kindProblem);
    if (kind == FileKind::kNone) {
        return Refuse(problem, backupPath, "it cannot be put back: " + kindProblem.reason);
    }
    const long romTableEnd = layout::ItemNameRecordOffset(layout::kItemCount) -
                             layout::kRomCopierHeaderBytes + RomHeaderBytesOf(bytes);
    if (kind == FileKind::kRom && bytes.size() < static_cast<std::size_t>(romTableEnd)) {
        return Refuse(problem, backupPath,
                      "it cannot be put back: it is a game ROM cut short (" +
                          std::to_string(bytes.size()) + " bytes; its item table ends at " +
                          std::to_string(romTableEnd) + ")");
    }
    FileProblem missing;
    FilePtr target = OpenExisting(path, FileAccess::kUpdate, missing);
    if (!target && !missing.IsMissing()) {
        problem.reason = "cannot write " + Describe(path, missing);
        return false;
    }
    if (target) {
        std::string now;
        FileProblem ignored;
        ReadAllOf(target.get(), now, ignored);
        const FileKind current = KindOfBytes(now, ignored);
        if (current != FileKind::kNone && current != kind) {
            return Refuse(problem, backupPath,
                          std::string("it is a backup of ") + KindName(kind) + ", and " + path +
                              " is " + KindName(current));
        }
        if (current == kind && now.size() != bytes.size()) {
            return Refuse(problem, backupPath,
                          "it holds " + std::to_string(bytes.size()) + " bytes and " + path +
                              " holds " + std::to_string(now.size()) +
                              "; a backup of this file would be as long as it");
        }
        WriteLock lock;
        if (!lock.Take(target.get(), problem)) {
            problem.reason = "cannot write " + Describe(path, problem);
            return false;
        }
    }
    std::string madeNow;
    if (backupsOn && target && !MakeBackup(folder, path, madeNow, problem, backupPath)) {
        return false;  // a missing file has nothing to keep and is simply put back
    }
    if (!target) {
        if (!ReplaceFile(path, bytes, problem)) {
            problem.reason = "cannot write " + Describe(path, problem);
            return false;
        }
        return true;
    }
    // Into the same file, as a save writes: a hard link or an open emulator sees it too.
    WriteLock lock;
    const bool written = lock.Take(target.get(), problem) &&
                         StillWritable(target.get(), path, problem) &&
                         RewriteOpenFile(target.get(), bytes, problem);
    if (!written) {
        problem.reason = "cannot write " + Describe(path, problem);
    }
    return written;
}

std::string BackupTimeText(const std::string& stamp) {
    if (!IsStamp(stamp)) {
        return stamp;
    }
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2) + " UTC";
}

bool BackupKeeper::BeforeWrite(const std::string& path, std::string& message) {
    if (!m_on) {
        return true;
    }
    if (m_folder.empty()) {
        message = std::string(msg::kBackupFailed) + NoBackupFolderText();
        return false;
    }
    const std::string key = OwnerKey(path);
    if (m_done.count(key) != 0) {
        return true;
    }
    FileProblem problem;
    std::string made;
    if (!MakeBackup(m_folder, path, made, problem)) {
        message = std::string(msg::kBackupFailed) + problem.reason;
        return false;
    }
    m_done.insert(key);
    m_lastBackup = made;
    return true;
}

void BackupKeeper::Forget(const std::string& path) {
    m_done.erase(OwnerKey(path));
}

}  // namespace sw
