#include "FileIO.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace sw {

FilePtr OpenFile(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

bool ReadAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count) {
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return false;
    }
    return std::fread(bytes, 1, count, file) == count;
}

bool WriteAt(std::FILE* file, long offset, const std::uint8_t* bytes, std::size_t count) {
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return false;
    }
    return std::fwrite(bytes, 1, count, file) == count;
}

bool Flush(std::FILE* file) {
    const bool flushed = std::fflush(file) == 0;
    const bool clean = std::ferror(file) == 0;
    std::clearerr(file);  // so that a later attempt, after the user freed space, can succeed
    return flushed && clean;
}

long FileSize(std::FILE* file) {
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) {
        return -1;
    }
    return static_cast<long>(info.st_size);
}

long FileSize(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return -1;
    }
    return static_cast<long>(info.st_size);
}

std::string LastErrorText() {
    return std::strerror(errno);
}

}  // namespace sw
