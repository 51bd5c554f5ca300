#include "Backups.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "Messages.h"
#include "PathRules.h"

namespace sw {
namespace {

constexpr char kSuffix[] = ".bak";
constexpr std::size_t kStampLength = 20;  // 20261207T035214.123Z

std::string StampOf(const timespec& time) {
    std::tm utc{};
    gmtime_r(&time.tv_sec, &utc);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03ldZ", time.tv_nsec / 1000000);
    return text;
}

bool IsStamp(std::string_view text) {
    if (text.size() != kStampLength || text[8] != 'T' || text[15] != '.' || text[19] != 'Z') {
        return false;
    }
    for (std::size_t i = 0; i < kStampLength; ++i) {
        if (i != 8 && i != 15 && i != 19 && !std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// The backups are the user's own: a folder we make is private to them.
bool MakeFolder(const std::string& folder, FileProblem& problem) {
    std::error_code error;
    if (std::filesystem::create_directories(folder, error)) {
        chmod(folder.c_str(), 0700);
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        problem.error = error ? error.value() : ENOTDIR;
        problem.reason = "cannot make the backup folder " + folder + ": " + error.message();
        return false;
    }
    return true;
}

}  // namespace

std::string DefaultBackupFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return WithSlash(dataHome) + "statewright/backups/";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return WithSlash(home) + ".local/share/statewright/backups/";
    }
    return {};
}

std::vector<BackupEntry> ListBackups(const std::string& folder, const std::string& fileName) {
    const std::string prefix = StateFileName(fileName) + ".";
    std::vector<BackupEntry> found;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return found;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::size_t suffix = sizeof kSuffix - 1;
        if (name.size() != prefix.size() + kStampLength + suffix ||
            name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
            continue;
        }
        const std::string stamp = name.substr(prefix.size(), kStampLength);
        struct stat info {};
        const std::string path = WithSlash(folder) + name;
        if (IsStamp(stamp) && lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            found.push_back({path, stamp, static_cast<long>(info.st_size)});
        }
    }
    closedir(dir);
    std::sort(found.begin(), found.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return a.stamp > b.stamp; });
    return found;
}

bool MakeBackup(const std::string& folder, const std::string& path, std::string& backupPath,
                FileProblem& problem) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, problem)) {
        problem.reason = "cannot read " + Describe(path, problem);
        return false;
    }
    const std::string dir = WithSlash(folder);
    if (!MakeFolder(dir, problem)) {
        return false;
    }
    // A stamp to the millisecond; two backups within one are told apart by the next one free.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    struct stat taken {};
    do {
        backupPath = dir + StateFileName(path) + "." + StampOf(now) + kSuffix;
        now.tv_nsec += 1000000;
        if (now.tv_nsec >= 1000000000) {
            now.tv_nsec -= 1000000000;
            ++now.tv_sec;
        }
    } while (lstat(backupPath.c_str(), &taken) == 0);
    if (!ReplaceFile(backupPath, bytes, problem)) {
        problem.reason = "cannot write " + Describe(backupPath, problem);
        return false;
    }
    chmod(backupPath.c_str(), 0600);  // a copy is no more public than a private original
    const std::vector<BackupEntry> kept = ListBackups(dir, path);
    for (std::size_t i = kBackupsKept; i < kept.size(); ++i) {
        std::remove(kept[i].path.c_str());
    }
    return true;
}

bool RestoreBackup(const std::string& folder, const std::string& backupPath,
                   const std::string& path, FileProblem& problem) {
    // Read first: backing up the current file may retire the oldest backup, this one perhaps.
    std::string bytes;
    if (!ReadWholeFile(backupPath, bytes, problem)) {
        problem.reason = "cannot read " + Describe(backupPath, problem);
        return false;
    }
    struct stat info {};
    const bool present = stat(path.c_str(), &info) == 0 || errno != ENOENT;
    std::string madeNow;
    if (!folder.empty() && present && !MakeBackup(folder, path, madeNow, problem)) {
        return false;  // a missing file has nothing to keep and is simply put back
    }
    if (!ReplaceFile(path, bytes, problem)) {
        problem.reason = "cannot write " + Describe(path, problem);
        return false;
    }
    return true;
}

std::string BackupTimeText(const std::string& stamp) {
    if (!IsStamp(stamp)) {
        return stamp;
    }
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2) + " UTC";
}

bool BackupKeeper::BeforeWrite(const std::string& path, std::string& message) {
    if (m_folder.empty()) {
        return true;
    }
    const std::string key = Canonical(path);
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
    m_done.erase(Canonical(path));
}

}  // namespace sw
