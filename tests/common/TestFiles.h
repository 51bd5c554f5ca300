// Real files for tests: a temporary folder that cleans up after itself, whole-file reads and
// writes, and a byte diff that names the offsets instead of dumping 275 KB on failure.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "FileIO.h"

namespace sw::test {

using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sw-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Moves into a folder for the lifetime of the guard (description files live in the cwd).
class CurrentDir {
public:
    explicit CurrentDir(const std::string& path) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~CurrentDir() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

inline void Patch(Bytes& bytes, long offset, std::initializer_list<std::uint8_t> values) {
    for (std::uint8_t value : values) {
        bytes.at(static_cast<std::size_t>(offset++)) = value;
    }
}

// `rom` with the 39-byte name record of item `code` (written out as 1397248 + 39 * code, so that
// a wrong constant in the program shows) holding `name` as the game stores text: each byte plus
// 0x30, padded with 0x30, the game's 0.
inline Bytes WithItemName(Bytes rom, int code, const std::string& name) {
    for (std::size_t k = 0; k < 39; ++k) {
        const int c = k < name.size() ? static_cast<std::uint8_t>(name[k]) : 0;
        rom.at(1397248 + 39 * static_cast<std::size_t>(code) + k) =
            static_cast<std::uint8_t>(c + 0x30);
    }
    return rom;
}

// Offsets at which the files differ (a length difference counts as the offset of the end).
inline std::vector<long> DiffOffsets(const Bytes& expected, const Bytes& actual) {
    std::vector<long> offsets;
    const std::size_t common = std::min(expected.size(), actual.size());
    for (std::size_t i = 0; i < common && offsets.size() < 20; ++i) {
        if (expected[i] != actual[i]) {
            offsets.push_back(static_cast<long>(i));
        }
    }
    if (expected.size() != actual.size()) {
        offsets.push_back(static_cast<long>(common));
    }
    return offsets;
}

// A plain stdio stream on a test's own file, in a mode the program itself never opens with.
inline FilePtr OpenStream(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode));
}

// A seam over the write calls: a stream on a real file whose writes fail, with `error`, when
// they touch the bytes [failFrom, failTo); every other read and write reaches the file, so a
// test can make one group of a save fail. The stream owns its state and may outlive the test.
inline FilePtr OpenFailingStream(const std::string& path, long failFrom, long failTo, int error) {
    struct Cookie {
        int fd;
        long from;
        long to;
        int error;
        long position = 0;
    };
    const cookie_io_functions_t calls = {
        [](void* c, char* buffer, std::size_t size) -> ssize_t {
            auto* self = static_cast<Cookie*>(c);
            const ssize_t got = pread(self->fd, buffer, size, self->position);
            self->position += got > 0 ? got : 0;
            return got;
        },
        [](void* c, const char* buffer, std::size_t size) -> ssize_t {
            auto* self = static_cast<Cookie*>(c);
            if (self->position < self->to &&
                self->position + static_cast<long>(size) > self->from) {
                errno = self->error;
                return 0;
            }
            const ssize_t wrote = pwrite(self->fd, buffer, size, self->position);
            self->position += wrote > 0 ? wrote : 0;
            return wrote;
        },
        [](void* c, off64_t* offset, int whence) -> int {
            auto* self = static_cast<Cookie*>(c);
            const long base = whence == SEEK_SET   ? 0
                              : whence == SEEK_CUR ? self->position
                                                   : lseek(self->fd, 0, SEEK_END);
            self->position = base + static_cast<long>(*offset);
            *offset = self->position;
            return 0;
        },
        [](void* c) -> int {
            auto* self = static_cast<Cookie*>(c);
            const int closed = close(self->fd);
            delete self;
            return closed;
        }};
    auto* cookie = new Cookie{open(path.c_str(), O_RDWR | O_CLOEXEC), failFrom, failTo, error};
    return FilePtr(fopencookie(cookie, "rb+", calls));
}

// While it lives, no file of this process grows beyond `bytes`: a disk that fills up half way.
// SIGXFSZ is ignored, as the programs ignore it, so such a write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit small = m_before;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

}  // namespace sw::test
