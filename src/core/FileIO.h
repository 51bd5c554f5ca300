// Small helpers over the C runtime's buffered files, which the layout code uses as the game
// data is written: seek to a fixed offset, move a few bytes, flush after every group.
#pragma once

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

// fopen with the given C mode ("rb", "rb+", "wb", ...); null on failure (errno tells why).
FilePtr OpenFile(const std::string& path, const char* mode);

// Opens a file for update in place ("rb+"), creating it empty when it is missing; an existing
// file is never emptied. Null when it can be neither opened nor created.
FilePtr OpenForUpdate(const std::string& path);

// Replaces a file's whole content without ever leaving it half-written: the bytes go to a
// temporary file beside it (path + ".tmp"), on disk before it is renamed over the file. On
// failure the temporary file is removed, the file is as it was, and errno tells why.
bool ReplaceFileContent(const std::string& path, std::string_view bytes);

// Reads exactly `count` bytes at `offset`; false on a seek error or a short read.
bool ReadAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count);
// Writes exactly `count` bytes at `offset`; false on any error.
bool WriteAt(std::FILE* file, long offset, const std::uint8_t* bytes, std::size_t count);
// fflush, and whether the stream has seen no error since the last Flush; resets the error.
bool Flush(std::FILE* file);

// Size of an open file in bytes, -1 when unknown.
long FileSize(std::FILE* file);
// Size of the file at a path in bytes, -1 when it cannot be examined.
long FileSize(const std::string& path);

// Text of the last C runtime error, for our own messages.
std::string LastErrorText();

}  // namespace sw
