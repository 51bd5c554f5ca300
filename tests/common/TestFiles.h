// Real files for tests: a temporary folder that cleans up after itself, whole-file reads and
// writes, and a byte diff that names the offsets instead of dumping 275 KB on failure. Also what
// differs between Linux and Windows (the tests run under Wine too): how a shell command is run,
// paths as UTF-8, and the cases a system cannot make at all, each with its reason.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "FileIO.h"

namespace sw::test {

using Bytes = std::vector<std::uint8_t>;

#ifdef _WIN32
inline constexpr bool kWindows = true;
// What a case needs that Windows has not: the reason it is skipped there (nullptr: it has it).
inline constexpr const char* kNoFifos = "Windows has no FIFOs (named pipes in the file system)";
inline constexpr const char* kNoModeBits =
    "Windows has no mode bits (its read-only attribute has rows of its own)";
inline constexpr const char* kNoLinks =
    "a symbolic link on Windows needs a privilege that a user lacks, and MinGW's std::filesystem "
    "makes none";
inline constexpr const char* kNoDevices = "Windows has no /dev/zero or /dev/full";
inline constexpr const char* kNoOtherUsers =
    "Windows has no user nobody, and no file owners to set";
inline constexpr const char* kNoFileSizeLimit =
    "Windows has no file-size limit (RLIMIT_FSIZE) to stand in for a full disk";
inline constexpr const char* kNoFailingStreams =
    "the Windows C runtime has no streams of the program's own (fopencookie) to fail a write";
inline constexpr const char* kNoLineBreakNames = "Windows allows no line break in a file name";
inline constexpr const char* kNoDescriptorNumbers =
    "Windows hands out no descriptor 2 to a file opened while standard error is closed";
inline constexpr const char* kNoRemovingCurrentFolder =
    "Windows removes no folder that a process works in";
inline constexpr const char* kNoCaseInNames =
    "Windows compares file names without case: a name in another case is the same file";
inline constexpr const char* kNoPython =
    "python3 and its jsonschema are no Windows programs: the Linux run checks the schema";
inline constexpr const char* kNoHomeVariables =
    "on Windows the backups folder is the shell's local application data, not HOME or "
    "XDG_DATA_HOME, and always there";
inline constexpr const char* kNoPlantedBackupsFolder =
    "on Windows the backups folder is the user's own: no test puts anything in its place";
#else
inline constexpr bool kWindows = false;
inline constexpr const char* kNoFifos = nullptr;
inline constexpr const char* kNoModeBits = nullptr;
inline constexpr const char* kNoLinks = nullptr;
inline constexpr const char* kNoDevices = nullptr;
inline constexpr const char* kNoOtherUsers = nullptr;
inline constexpr const char* kNoFileSizeLimit = nullptr;
inline constexpr const char* kNoFailingStreams = nullptr;
inline constexpr const char* kNoLineBreakNames = nullptr;
inline constexpr const char* kNoDescriptorNumbers = nullptr;
inline constexpr const char* kNoRemovingCurrentFolder = nullptr;
inline constexpr const char* kNoCaseInNames = nullptr;
inline constexpr const char* kNoPython = nullptr;
inline constexpr const char* kNoHomeVariables = nullptr;
inline constexpr const char* kNoPlantedBackupsFolder = nullptr;
#endif

// Whether a case that needs what `lacking` names can be made here; when not, the output says
// which case is left out and why (a whole test uses GTEST_SKIP instead).
inline bool Can(const char* lacking, const std::string& what) {
    if (lacking != nullptr) {
        std::cout << "[ SKIP ROW ] " << what << ": " << lacking << std::endl;
    }
    return lacking == nullptr;
}

// A path held as UTF-8, as the program holds it, for the standard library (which would read a
// narrow name in the ANSI code page on Windows), and back.
inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
// A path with one kind of separator, for comparing what the program says with what a test
// built: the same on Linux, "/" for every backslash on Windows.
inline std::string Generic(std::string path) {
    if (kWindows) {
        std::replace(path.begin(), path.end(), '\\', '/');
    }
    return path;
}

// A path as the system compares names: as it is on Linux; on Windows with "/" and without the
// case of ASCII letters.
inline std::string Folded(std::string path) {
    if (kWindows) {
        path = Generic(path);
        std::transform(path.begin(), path.end(), path.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    }
    return path;
}

class TempDir {
public:
#ifdef _WIN32
    // Made with a random name and an exclusive create, as mkdtemp does; "/" between names.
    TempDir() {
        const std::string base = Generic(Utf8(std::filesystem::temp_directory_path()));
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int tries = 0; tries < 100 && m_path.empty(); ++tries) {
            const std::string path = (base.ends_with('/') ? base : base + "/") + "sw-test-" +
                                     std::to_string(random() % 1000000000);
            std::error_code error;
            if (std::filesystem::create_directory(PathOf(path), error)) {
                m_path = path;
            }
        }
    }
    ~TempDir() {
        // A read-only file would stay behind (Windows deletes none), and with it the folder.
        std::error_code ignored;
        for (auto entry = std::filesystem::recursive_directory_iterator(PathOf(m_path), ignored);
             !ignored && entry != std::filesystem::recursive_directory_iterator();
             entry.increment(ignored)) {
            std::error_code ignoredToo;
            std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignoredToo);
        }
        std::filesystem::remove_all(PathOf(m_path), ignored);
    }
#else
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "sw-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
#endif
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
        std::filesystem::current_path(PathOf(path));
    }
    ~CurrentDir() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(PathOf(path), std::ios::binary)
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
#ifdef _WIN32
    const std::string wideMode(mode);
    return FilePtr(
        _wfopen(PathOf(path).c_str(), std::wstring(wideMode.begin(), wideMode.end()).c_str()));
#else
    return FilePtr(std::fopen(path.c_str(), mode));
#endif
}

#ifndef _WIN32
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
#else
inline FilePtr OpenFailingStream(const std::string&, long, long, int) {
    return nullptr;  // kNoFailingStreams
}
#endif

// While it lives, no file of this process grows beyond `bytes`: a disk that fills up half way.
// SIGXFSZ is ignored, as the programs ignore it, so such a write fails with EFBIG.
#ifndef _WIN32
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
#else
class FileSizeLimit {  // kNoFileSizeLimit: limits nothing
public:
    explicit FileSizeLimit(unsigned long long) {}
};
#endif

// Makes a file read-only as the system knows it: mode `mode` (without write bits) on Linux, the
// read-only attribute on Windows, which has no mode bits; and what the program then says.
#ifdef _WIN32
bool SetReadOnlyAttribute(const std::string& path);
inline bool MakeReadOnly(const std::string& path, std::filesystem::perms) {
    return SetReadOnlyAttribute(path);
}
inline std::string ReadOnlyReason(const std::string&) {
    return "the file is read-only (its read-only attribute is set)";
}
#else
inline bool MakeReadOnly(const std::string& path, std::filesystem::perms mode) {
    std::error_code error;
    std::filesystem::permissions(path, mode, error);
    return !error;
}
inline std::string ReadOnlyReason(const std::string& mode) {
    return "the file is read-only (mode " + mode + ")";
}
#endif

inline void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}
inline void UnsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");  // empty takes it out
#else
    unsetenv(name);
#endif
}

// A FIFO at the path; false where none can be made.
inline bool MakeFifo(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    return mkfifo(path.c_str(), 0644) == 0;
#endif
}

inline bool RunningAsRoot() {
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

// Gives a file (a link itself, not its target) to `user` and that user's group; false where
// there is no such user (or no owners at all).
inline bool GiveTo(const std::string& path, const char* user) {
#ifdef _WIN32
    (void)path, (void)user;
    return false;
#else
    const passwd* owner = getpwnam(user);
    return owner != nullptr && lchown(path.c_str(), owner->pw_uid, owner->pw_gid) == 0;
#endif
}

// A path of the build (the program, the man page) as this process names it: under Wine, a
// Linux path becomes the drive path that leads to it (Z:\...).
#ifdef _WIN32
std::string HostPath(const std::string& path);
#else
inline std::string HostPath(const std::string& path) {
    return path;
}
#endif

// A path or argument quoted for the shell that RunShell uses (sh, or cmd.exe on Windows).
inline std::string Quoted(const std::string& text) {
    return kWindows ? "\"" + text + "\"" : "'" + text + "'";
}
inline constexpr const char* kNullDevice = kWindows ? "NUL" : "/dev/null";

// Runs a command line in the system's shell (sh -c, or cmd.exe /c on Windows); its exit code
// (-1 when it was killed or could not be run), and what it printed to standard output.
#ifdef _WIN32
int RunShell(const std::string& command, std::string* said = nullptr);
#else
inline int RunShell(const std::string& command, std::string* said = nullptr) {
    std::string ignored;
    said = said != nullptr ? said : &ignored;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        said->append(buffer);
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

#ifdef _WIN32
// A second handle on a file, as an emulator may hold its state, until it is destroyed: opened
// for reading and writing and sharing only reading, or sharing everything and holding a
// LockFileEx lock on the whole file.
class HeldFile {
public:
    enum Kind { kDenyWrite, kLocked };
    HeldFile(const std::string& path, Kind kind);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Holds() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};

// The user's local application data folder (FOLDERID_LocalAppData), as UTF-8.
std::string LocalAppDataFolder();
#endif

// Where the programs keep their backups while XDG_DATA_HOME is `dataHome`, with "/" between
// names and at the end: below it on Linux; on Windows below the user's local application data,
// which no variable moves.
inline std::string BackupsFolderFor(const std::string& dataHome) {
#ifdef _WIN32
    (void)dataHome;
    return Generic(LocalAppDataFolder()) + "/Statewright/backups/";
#else
    return dataHome + "/statewright/backups/";
#endif
}

}  // namespace sw::test
