#include "FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sw {

FilePtr OpenFile(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

FilePtr OpenForUpdate(const std::string& path) {
    FilePtr file = OpenFile(path, "rb+");
    if (!file) {
        OpenFile(path, "ab");  // creates a missing file; never empties one
        file = OpenFile(path, "rb+");
    }
    return file;
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".tmp";
    FilePtr out = OpenFile(temporary, "wb");
    if (!out) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
              Flush(out.get()) && fsync(fileno(out.get())) == 0;
    ok = std::fclose(out.release()) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        const int reason = errno;
        std::remove(temporary.c_str());
        errno = reason;
    }
    return ok;
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
