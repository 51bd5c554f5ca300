// Copies of a file as it was before the program first wrote into it: the way back that save
// editors owe their users. They lie in one per-user folder as "<file name>.<UTC time>.bak";
// the newest ten of each file name are kept.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "FileIO.h"

namespace sw {

inline constexpr std::size_t kBackupsKept = 10;

// $XDG_DATA_HOME/statewright/backups/ (by default ~/.local/share/statewright/backups/),
// ending in "/"; empty when neither variable says where the user's data folder is.
std::string DefaultBackupFolder();

struct BackupEntry {
    std::string path;   // the backup file
    std::string stamp;  // "20261207T035214.123Z", UTC
    long size = 0;
};

// The backups of files named like `fileName` (its last path component counts), newest first.
std::vector<BackupEntry> ListBackups(const std::string& folder, const std::string& fileName);

// Copies the whole file into the folder (created when missing) and then deletes the oldest
// backups of that file name beyond the newest ten. False, with nothing written, when the file
// cannot be read or the copy cannot be written whole; the reason names the file concerned.
bool MakeBackup(const std::string& folder, const std::string& path, std::string& backupPath,
                FileProblem& problem);

// Puts a backup's bytes back into `path`, after a backup of the file as it is now into
// `folder` (none when the folder is empty). The reason of a failure names the file concerned.
bool RestoreBackup(const std::string& folder, const std::string& backupPath,
                   const std::string& path, FileProblem& problem);

// "The date and time in words" for a stamp: "2026-12-07 03:52:14 UTC".
std::string BackupTimeText(const std::string& stamp);

// Makes each file's backup once, before the first write into it in this run. An empty folder
// turns backups off.
class BackupKeeper {
public:
    explicit BackupKeeper(std::string folder) : m_folder(std::move(folder)) {}

    // True when writing may go ahead: the backup is made, was made earlier in this run, or
    // backups are off. False when no backup could be made, with the message for the user.
    bool BeforeWrite(const std::string& path, std::string& message);
    // The file was changed by another program: its next write backs it up again.
    void Forget(const std::string& path);

    const std::string& Folder() const { return m_folder; }
    const std::string& LastBackup() const { return m_lastBackup; }

private:
    std::string m_folder;
    std::set<std::string> m_done;  // canonical paths backed up in this run
    std::string m_lastBackup;
};

}  // namespace sw
