// Every file the program reads or writes goes through here, so that no caller can forget a
// rule: only regular files (or links to them) are opened, and never in a way that can block on
// a FIFO or a device; the mode bits are honoured even when the user is root; whole-file
// rewrites go through a uniquely named temporary file beside the real target of any link and
// keep the file's mode; and every failure comes back as a value that names the real reason.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace sw {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
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

// Whether an open file may still be written: it is still the file at `path` (not deleted or
// replaced meanwhile), still regular, and its mode bits allow writing.
bool StillWritable(std::FILE* file, const std::string& path, FileProblem& problem);

// Whether two paths name the same file (device and inode), links followed.
bool SameFile(const std::string& a, const std::string& b);

// Reads exactly `count` bytes at `offset`; false on a seek error or a short read.
bool ReadAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count);
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

}  // namespace sw
