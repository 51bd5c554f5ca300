// Copies of a file as it was before the program first wrote into it: the way back that save
// editors owe their users. Each file has a folder of its own in one per-user folder, named by
// the file's name and a hash of its absolute path (links resolved), holding an "owner" file
// with that path and the backups "<sequence>.bak" (000001.bak...). Every player's states share the
// same default names, so the name alone never says whose a backup is. The sequence, not the
// clock, orders them; the newest ten of each file are kept.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "FileIO.h"

namespace sw {

inline constexpr std::size_t kBackupsKept = 10;

// $XDG_DATA_HOME/statewright/backups/ (by default ~/.local/share/statewright/backups/),
// ending in "/"; empty when neither variable holds an absolute path.
std::string DefaultBackupFolder();

// Why there is no backup folder, and what to do about it.
std::string NoBackupFolderText();

struct BackupEntry {
    std::string path;        // the backup file
    std::string stamp;       // "20261207T035214.123Z", UTC, when it was made
    long long sequence = 0;  // the order made in; 0 for the earlier naming
    long long size = 0;
};

// The folder that holds (or will hold) the backups of the file at `path`; empty when the
// file's folder cannot be resolved.
std::string BackupFolderOf(const std::string& folder, const std::string& path);

// The backups of the file at `path` (its absolute path, links resolved), newest first.
std::vector<BackupEntry> ListBackups(const std::string& folder, const std::string& path);

// Backups of the earlier naming, "<file name>.<UTC time>.bak" directly in the folder: of a
// file of this name in some folder, no longer known which. Newest first; never retired.
std::vector<BackupEntry> ListOlderBackups(const std::string& folder, const std::string& path);

// Copies the whole file, by streaming, to a new backup created exclusively in the file's own
// folder (made when missing, private to the user), then retires that file's oldest backups
// beyond the newest ten; never the one just made, nor `keep`. False, with nothing written,
// when the file cannot be read or the copy cannot be written whole; the reason names the file.
bool MakeBackup(const std::string& folder, const std::string& path, std::string& backupPath,
                FileProblem& problem, const std::string& keep = {});

// Puts a backup back into the file at `path`, in place (the same file, mode and owner). Only a
// regular file among that file's own backups (or, named explicitly, one of the earlier
// naming) of the same kind as the file (a save state's header and length, or a ROM with the
// game's title and whole item table) is put back. Everything that can be checked is checked
// before the file as it is now is backed up into `folder` (none when `backupsOn` is false),
// so a refusal leaves every backup as it was. The reason of a failure names the file.
bool RestoreBackup(const std::string& folder, bool backupsOn, const std::string& backupPath,
                   const std::string& path, FileProblem& problem);

// "The date and time in words" for a stamp: "2026-12-07 03:52:14 UTC".
std::string BackupTimeText(const std::string& stamp);

// Makes each file's backup once, before the first write into it in this run.
class BackupKeeper {
public:
    // Backups into this folder; an empty folder means none could be found, and every write
    // is then refused with a message that says what to set.
    explicit BackupKeeper(std::string folder) : m_folder(std::move(folder)) {}
    // No backups at all (--no-backup, or tests that need none).
    static BackupKeeper Off() {
        BackupKeeper keeper{std::string()};
        keeper.m_on = false;
        return keeper;
    }

    // True when writing may go ahead: the backup is made, was made earlier in this run, or
    // backups are off. False when no backup could be made, with the message for the user.
    bool BeforeWrite(const std::string& path, std::string& message);
    // The file was changed by another program: its next write backs it up again.
    void Forget(const std::string& path);

    const std::string& Folder() const { return m_folder; }
    bool On() const { return m_on; }
    const std::string& LastBackup() const { return m_lastBackup; }

private:
    std::string m_folder;
    bool m_on = true;
    std::set<std::string> m_done;  // resolved paths backed up in this run
    std::string m_lastBackup;
};

}  // namespace sw
