// Every file the program reads or writes goes through here, so that no caller can forget a
// rule: only regular files (or links to them) are opened, and never in a way that can block on
// a FIFO or a device; the mode bits are honoured even when the user is root; whole-file
// rewrites go through a uniquely named temporary file beside the real target of any link and
// keep the file's mode; and every failure comes back as a value that names the real reason.
// One source file per platform holds it all: FileIO.cpp (POSIX) and FileIOWindows.cpp, where
// names are UTF-8 as everywhere in the program, the read-only attribute stands for the mode
// bits, and "the same file" is the same volume and file index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// fclose, and for a stream of OpenMemory, whatever it takes to hand the bytes back.
struct FileCloser {
    void operator()(std::FILE* file) const;
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Why a file could not be used. `error` is errno as it was at the failure (0 when the reason
// is one of our own, such as "it is a folder"); `reason` is the text for the user.
struct FileProblem {
    int error = 0;
    std::string reason;

    bool IsMissing() const;  // the file (or a folder on its way) does not exist
};

// "<path>: <reason>", as messages name a file.
std::string Describe(const std::string& path, const FileProblem& problem);

enum class FileAccess { kRead, kUpdate };

// Opens an existing regular file, or a link to one, for reading ("rb") or update ("rb+").
// Refused with a reason, and never waited on: a folder, FIFO, device, socket or link loop; a
// file whose mode bits allow no reading (or, for update, no writing), also for root.
FilePtr OpenExisting(const std::string& path, FileAccess access, FileProblem& problem);

// The whole content of a regular file, up to `limit` bytes (a longer file is refused).
bool ReadWholeFile(const std::string& path, std::string& bytes, FileProblem& problem,
                   std::size_t limit = 64u << 20);

// All of standard input, with the same limit and the same reason as ReadWholeFile.
bool ReadStandardInput(std::string& bytes, FileProblem& problem, std::size_t limit = 64u << 20);

// Raw bytes as the text that the whole-file writers take.
template <typename Bytes>
std::string_view AsChars(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Replaces a file's whole content, never leaving it half written and never following a link
// planted at a temporary name: the bytes go to a new, uniquely named file created exclusively
// in the folder of the link's final target, with the target's mode, are flushed to disk and
// renamed over the target. A link stays a link and its target gets the bytes. Where that
// folder allows no new file, the existing file is rewritten in place once the bytes are all in
// memory. A missing file is created (mode 0666 less the umask); a file that is not regular,
// or whose mode allows no writing, is refused. On failure no file of ours is left behind and
// the old content is as it was.
bool ReplaceFile(const std::string& path, std::string_view bytes, FileProblem& problem);

// Puts `head` over the start of a file and keeps whatever the file holds behind it (a new file
// holds just `head`), through ReplaceFile. A file that already holds it is not written at all.
bool ReplaceFileStart(const std::string& path, std::string_view head, FileProblem& problem);

// What a path named when a file was opened: the absolute path it led to, links resolved, and
// whether the name itself was a link. A writer compares it with the path as it is at the
// moment of writing, so that a link put in the file's place is never written through.
struct FileIdentity {
    std::string resolved;
    bool link = false;
    bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const std::string& path);

// Whether an open file may still be written: it is still the file at `path` (not deleted or
// replaced meanwhile, and, given `opened`, no link put in its place), still regular, and its
// mode bits allow writing.
bool StillWritable(std::FILE* file, const std::string& path, FileProblem& problem,
                   const FileIdentity* opened = nullptr);

// Holds a non-blocking lock (flock and fcntl, whole file) on an open file for one write, and
// lets go of it at the end of its scope. A file that another program holds locked is "in
// use": refused at once, never waited on. A stream without a descriptor needs no lock.
class WriteLock {
public:
    WriteLock() = default;
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    ~WriteLock();
    bool Take(std::FILE* file, FileProblem& problem);
    // Lets go before the file is closed.
    void Release();

private:
    int m_fd = -1;
};

// Rewrites an open file whole, in place (the same inode, mode and owner), and flushes it to
// disk; room is reserved first, and the old bytes are put back should the rewrite fail.
bool RewriteOpenFile(std::FILE* file, std::string_view bytes, FileProblem& problem);

// Whether two paths name the same file (device and inode), links followed.
bool SameFile(const std::string& a, const std::string& b);
// Whether an open file is the one at the path now (true as well for a stream without a
// descriptor, or when either cannot be looked at: nothing then to hold instead).
bool IsFileAtPath(std::FILE* file, const std::string& path);

// Reads exactly `count` bytes at `offset`; false on a seek error or a short read.
bool ReadAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count);
// The same, from the file as it is on disk now, never from the stream's buffer: what another
// program wrote since is seen.
bool ReadFreshAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count);
// Writes exactly `count` bytes at `offset`; false on any error.
bool WriteAt(std::FILE* file, long offset, const std::uint8_t* bytes, std::size_t count);
// fflush, and whether the stream has seen no error since the last Flush; resets the error.
bool Flush(std::FILE* file);

// A stream over bytes in memory, for the readers and writers that take a file: reads and
// writes stay within the bytes (which never grow) and change nothing else. (fmemopen would
// write a 0 behind the furthest byte written.) The bytes must outlive the stream.
FilePtr OpenMemory(std::string& bytes);

// The whole content of an open file, read from its start.
bool ReadAllOf(std::FILE* file, std::string& bytes, FileProblem& problem);

// When a file was last changed, as far as telling that it has been changed since: its device,
// inode, size and modification time (all zero for a file that is not there).
struct FileStamp {
    unsigned long long device = 0, inode = 0;
    long long size = 0, seconds = 0, nanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// Size of an open file in bytes, -1 when unknown.
long FileSize(std::FILE* file);

// Text of the last C runtime error, for our own messages.
std::string LastErrorText();

// Called first thing by each program: descriptors 0 to 2 are opened on /dev/null where they
// were closed, so that no file we open later becomes standard error and takes its messages;
// a file-size limit makes a write fail with EFBIG instead of killing the process mid-write.
void PrepareProcess();

// The absolute form of a path with every link resolved; a last component that does not exist
// is kept as named, under its resolved folder. The path as given when nothing resolves.
std::string ResolvedPath(const std::string& path);

// Makes a folder and those on its way (new ones with `mode`). Refused, naming what stands
// there, when a part of the way is no folder (a file, a FIFO, a dangling link...).
bool MakeFolders(const std::string& path, unsigned mode, FileProblem& problem);

// Creates a new file exclusively (never over an existing name, never through a link), with
// `mode`, open for writing. problem.error is EEXIST when the name is taken.
FilePtr CreateNewFile(const std::string& path, unsigned mode, FileProblem& problem);

// Copies all of `from`, from its start, onto the end of `to` in pieces (no size limit), and
// flushes `to` to disk.
bool CopyAll(std::FILE* from, std::FILE* to, FileProblem& problem);

// The names in a folder (without "." and ".."), and whether each is a regular file itself
// (not a link); false when the folder cannot be read.
struct FolderEntry {
    std::string name;
    bool regular = false;
    long long size = 0;
    long long modified = 0;  // milliseconds since 1970, UTC
};
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Whether a regular file (not a link) is at the path.
bool IsPlainFile(const std::string& path);

// The full path of the running program's executable; empty when it cannot be told.
std::string ProgramPath();

// The program's arguments as UTF-8: argv itself on POSIX; on Windows, where argv arrives in
// the ANSI code page, taken from the wide command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The folder where the program keeps its own files for this user, with a separator at the
// end: $XDG_DATA_HOME/statewright/ or ~/.local/share/statewright/ (an absolute path only), and
// on Windows %LOCALAPPDATA%\Statewright\ as the shell knows it. Empty when there is none.
std::string UserDataFolder();
// Why there is none, and what the user can do about it.
std::string NoUserDataFolderReason();

// A resolved path in the form in which two spellings of one file compare equal: the path
// itself on POSIX; on Windows without case and with backslashes only.
std::string ComparablePath(const std::string& resolved);

// Deletes a file; false when it could not be.
bool RemoveFile(const std::string& path);

}  // namespace sw
