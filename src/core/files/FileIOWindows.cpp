// The file layer on Windows: the rules of FileIO.h with the wide calls. Names are UTF-8 in the
// program and UTF-16 at every call, as long paths (\\?\) where they need it; the read-only
// attribute stands for the mode bits; "the same file" is the same volume serial and file
// index; a write lock is LockFileEx; a file another program holds open without sharing writes
// is "in use by another program".
// windows.h comes before the headers that build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <shlobj.h>
// windows.h names ReplaceFileW so; ours is another function.
#undef ReplaceFile

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "FileIO.h"
#include "PathRules.h"

namespace sw {
namespace {

constexpr char kInUse[] =
    "the file is in use: another program holds a lock on it (nothing was waited for)";
constexpr char kSharedAway[] =
    "the file is in use by another program, which does not let others write it (nothing was "
    "written)";

// The lock that tells another of our writers that a write is going on: one byte far past any
// real end, so that our own other handles (the backup's read) still read the file.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::wstring Wide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

// The absolute form of a path (relative parts and "/" resolved), as Windows itself makes it.
std::wstring FullPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(length < needed ? length : 0);
    return full.empty() ? path : full;
}

// The name for the wide calls: absolute, and with the \\?\ prefix that lifts the limit of 260
// characters.
std::wstring ApiPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    if (wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) {
        return wide;
    }
    const std::wstring full = FullPath(wide);
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return full.size() >= 2 && full[1] == L':' ? L"\\\\?\\" + full : full;
}

// A path as the user would write it: without the \\?\ prefix.
std::string UserPath(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        path = L"\\\\" + path.substr(8);
    } else if (path.rfind(L"\\\\?\\", 0) == 0) {
        path = path.substr(4);
    }
    return Narrow(path);
}

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        default:
            return EIO;
    }
}

// The system's own words for an error that has no C counterpart.
std::string SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? Narrow(std::wstring_view(text, length)) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == '.' || message.back() == ' ')) {
        message.pop_back();
    }
    return message.empty() ? "Windows error " + std::to_string(error) : message;
}

bool FailOwn(FileProblem& problem, std::string reason, int error = 0) {
    problem.error = error;
    problem.reason = std::move(reason);
    return false;
}

// A failed wide call: errno as the C runtime would set it, for the callers that read it, and
// the reason in words.
bool FailSystem(FileProblem& problem, DWORD error = GetLastError()) {
    const int mapped = ErrnoOf(error);
    errno = mapped;
    if (error == ERROR_SHARING_VIOLATION) {
        return FailOwn(problem, kSharedAway, mapped);
    }
    if (error == ERROR_LOCK_VIOLATION) {
        return FailOwn(problem, kInUse, mapped);
    }
    return FailOwn(problem, mapped == EIO ? SystemText(error) : std::strerror(mapped), mapped);
}

bool Fail(FileProblem& problem, int error) {
    return FailOwn(problem, std::strerror(error), error);
}

// A name Windows keeps for a device, or one that it would store other than as written.
bool CheckName(const std::string& path, FileProblem& problem) {
    // No part of the way may be longer than a volume keeps (255 UTF-16 units): said so, where
    // the call would speak of a missing file.
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find_first_of(kPathSeparators, start), path.size());
        if (Wide(std::string_view(path).substr(start, end - start)).size() > 255) {
            return FailOwn(problem, "File name too long", ENAMETOOLONG);
        }
        start = end + 1;
    }
    std::string name = StateFileName(path);
    if (name.empty() || name == "." || name == "..") {
        return true;
    }
    if (name.back() == '.' || name.back() == ' ') {
        return FailOwn(problem, "Windows cannot keep a file name that ends in a dot or a space",
                       EINVAL);
    }
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    for (char& c : stem) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const bool numbered = stem.size() == 4 &&
                          (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
                          stem[3] >= '0' && stem[3] <= '9';
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || numbered) {
        return FailOwn(
            problem, "Windows keeps the name \"" + stem + "\" for a device: it cannot name a file",
            EINVAL);
    }
    return true;
}

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    Handle() = default;
    explicit Handle(HANDLE handle) : h(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    }
    bool Valid() const { return h != INVALID_HANDLE_VALUE; }
    HANDLE Release() { return std::exchange(h, INVALID_HANDLE_VALUE); }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle for looking at a file or folder only (links followed), never for its bytes.
HANDLE OpenForInfo(const std::string& path) {
    return CreateFileW(ApiPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

HANDLE StreamHandle(std::FILE* file) {
    const int fd = file == nullptr ? -1 : _fileno(file);
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

bool InfoOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info) != 0;
}

bool InfoOfPath(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    Handle handle(OpenForInfo(path));
    return InfoOf(handle.h, info);
}

bool SameIndex(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

long long SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return static_cast<long long>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) |
                                  info.nFileSizeLow);
}

// 100 ns ticks since 1601 as nanoseconds since 1970.
long long NanosecondsOf(const FILETIME& time) {
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (static_cast<long long>(ticks) - 116444736000000000LL) * 100;
}

// Only a disk file holds what we read and write: a folder, a device (CON, NUL, COM1) or a pipe
// is refused by its kind.
bool CheckKind(HANDLE handle, DWORD attributes, FileProblem& problem) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FailOwn(problem, "it is a folder, not a file");
    }
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        return FailOwn(problem, "it is a device, not a regular file");
    }
    if (handle != INVALID_HANDLE_VALUE) {
        switch (GetFileType(handle)) {
            case FILE_TYPE_DISK:
                return true;
            case FILE_TYPE_PIPE:
                return FailOwn(problem, "it is a named pipe, not a regular file");
            case FILE_TYPE_CHAR:
                return FailOwn(problem, "it is a device, not a regular file");
            default:
                return FailOwn(problem, "it is not a regular file");
        }
    }
    return true;
}

// The read-only attribute speaks as the mode bits do on POSIX.
bool CheckWritable(DWORD attributes, FileAccess access, FileProblem& problem) {
    if (access == FileAccess::kUpdate && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return FailOwn(problem, "the file is read-only (its read-only attribute is set)", EACCES);
    }
    return true;
}

bool ReadAllFromHandle(HANDLE handle, std::string& bytes, std::size_t limit, FileProblem& problem,
                       bool fromStart) {
    // Read straight into room for the size the file has now (and a byte more, to see the end
    // in the same call): appending pieces would copy a large state over and over.
    LARGE_INTEGER size{};
    const std::size_t expected = fromStart && GetFileSizeEx(handle, &size) && size.QuadPart > 0
                                     ? static_cast<std::size_t>(std::min<LONGLONG>(
                                           size.QuadPart, static_cast<LONGLONG>(limit)))
                                     : 0;
    bytes.assign(expected + 1, '\0');
    std::size_t have = 0;
    while (true) {
        if (have == bytes.size()) {
            bytes.resize(std::max<std::size_t>(have * 2, 65536));  // it grew meanwhile
        }
        const DWORD piece =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - have, 1u << 24));
        DWORD got = 0;
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(have);
        at.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(have) >> 32);
        if (!ReadFile(handle, bytes.data() + have, piece, &got, fromStart ? &at : nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
                got = 0;
            } else {
                bytes.clear();
                return FailSystem(problem, error);
            }
        }
        if (got == 0) {
            bytes.resize(have);
            return true;
        }
        have += got;
        if (have > limit) {
            bytes.clear();
            return FailOwn(problem, "it is larger than " + std::to_string(limit >> 20) +
                                        " MiB, the most this program reads");
        }
    }
}

bool WriteAllAt(HANDLE handle, std::string_view bytes, unsigned long long offset = 0) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at{};
        const unsigned long long where = offset + done;
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        DWORD wrote = 0;
        const DWORD piece =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        if (!WriteFile(handle, bytes.data() + done, piece, &wrote, &at) || wrote == 0) {
            errno = ErrnoOf(GetLastError());
            return false;
        }
        done += wrote;
    }
    return true;
}

bool Truncate(HANDLE handle, unsigned long long size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
}

// A CRT stream over a handle we opened; the handle is the stream's from then on.
std::FILE* StreamOf(HANDLE handle, bool update, FileProblem& problem) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   (update ? _O_RDWR : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        Fail(problem, EMFILE);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, update ? "rb+" : "rb");
    if (file == nullptr) {
        Fail(problem, errno);
        _close(fd);
    }
    return file;
}

// Rewrites a file in place: the old bytes are kept in memory and put back should the rewrite
// fail; a file that must grow gets its room first, so a full disk fails before anything is
// written.
bool RewriteHandle(HANDLE handle, std::string_view bytes, FileProblem& problem) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!InfoOf(handle, info)) {
        return FailSystem(problem);
    }
    if (!CheckKind(handle, info.dwFileAttributes, problem) ||
        !CheckWritable(info.dwFileAttributes, FileAccess::kUpdate, problem)) {
        return false;
    }
    std::string old;
    if (!ReadAllFromHandle(handle, old, 1u << 30, problem, true)) {
        return false;
    }
    if (bytes.size() > old.size() && !Truncate(handle, bytes.size())) {
        const DWORD error = GetLastError();
        Truncate(handle, old.size());
        return FailSystem(problem, error);
    }
    if (!(WriteAllAt(handle, bytes) && Truncate(handle, bytes.size()) &&
          FlushFileBuffers(handle))) {
        const DWORD error = GetLastError();
        if (WriteAllAt(handle, old)) {
            Truncate(handle, old.size());
        }
        return FailSystem(problem, error);
    }
    return true;
}

bool LockWhole(HANDLE handle, FileProblem& problem) {
    OVERLAPPED at{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &at)) {
        const DWORD error = GetLastError();
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING
                   ? FailOwn(problem, kInUse, EBUSY)
                   : FailSystem(problem, error);
    }
    UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &at);
    return true;
}

// Another program's lock anywhere in the file, then ours, a byte past any real end, for the
// write; false with "in use" when another program holds one.
bool LockHandle(HANDLE handle, FileProblem& problem) {
    if (!LockWhole(handle, problem)) {
        return false;
    }
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        return FailOwn(problem, kInUse, EBUSY);
    }
    return true;
}

void UnlockHandle(HANDLE handle) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(handle, 0, 1, 0, &at);
}

// A whole-file replace takes no lock on a file it is about to retire, but it does not go
// ahead while another program holds one, or holds the file open without sharing writes.
bool TargetFree(const std::string& target, FileProblem& problem) {
    Handle handle(CreateFileW(ApiPath(target).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
        const DWORD error = GetLastError();
        return error != ERROR_SHARING_VIOLATION || FailSystem(problem, error);
    }
    return LockWhole(handle.h, problem);
}

// The path of a file or folder as Windows names it, links and junctions resolved; empty when
// it cannot be opened or named.
std::string FinalPathOf(const std::string& path) {
    Handle handle(OpenForInfo(path));
    if (!handle.Valid()) {
        return {};
    }
    std::wstring name(32768, L'\0');
    const DWORD length =
        GetFinalPathNameByHandleW(handle.h, name.data(), static_cast<DWORD>(name.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= name.size()) {
        return {};
    }
    name.resize(length);
    return UserPath(name);
}

// The final target of any links on the way: the file itself when there is one, else the
// name as given (where a new file is then created).
std::string FinalTarget(const std::string& path) {
    const std::string target = FinalPathOf(path);
    return target.empty() ? path : target;
}

std::string UniqueSuffix() {
    static unsigned long long counter = 0;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    char text[40];
    std::snprintf(text, sizeof text, ".%lx%llx%llx", GetCurrentProcessId(),
                  static_cast<unsigned long long>(now.QuadPart) & 0xFFFFFF, ++counter);
    return text;
}

// The streams of OpenMemory: a temporary file that hands its bytes back at the close.
std::mutex g_memoryLock;
std::map<std::FILE*, std::string*> g_memory;

std::string* MemoryOf(std::FILE* file) {
    std::lock_guard<std::mutex> hold(g_memoryLock);
    const auto found = g_memory.find(file);
    return found == g_memory.end() ? nullptr : found->second;
}

}  // namespace

void FileCloser::operator()(std::FILE* file) const {
    std::string* bytes = nullptr;
    {
        std::lock_guard<std::mutex> hold(g_memoryLock);
        const auto found = g_memory.find(file);
        if (found != g_memory.end()) {
            bytes = found->second;
            g_memory.erase(found);
        }
    }
    if (bytes != nullptr) {
        std::fflush(file);
        std::string written;
        FileProblem ignored;
        if (ReadAllFromHandle(StreamHandle(file), written, 1u << 30, ignored, true)) {
            written.resize(std::min(written.size(), bytes->size()));
            bytes->replace(0, written.size(), written);
        }
    }
    std::fclose(file);
}

FilePtr OpenExisting(const std::string& path, FileAccess access, FileProblem& problem) {
    if (!CheckName(path, problem)) {
        return nullptr;
    }
    // Looked at before opening, so that a folder or a device is never opened for its bytes.
    WIN32_FILE_ATTRIBUTE_DATA before{};
    if (!GetFileAttributesExW(ApiPath(path).c_str(), GetFileExInfoStandard, &before)) {
        FailSystem(problem);
        return nullptr;
    }
    if (!CheckKind(INVALID_HANDLE_VALUE, before.dwFileAttributes, problem) ||
        !CheckWritable(before.dwFileAttributes, access, problem)) {
        return nullptr;
    }
    const DWORD rights = GENERIC_READ | (access == FileAccess::kUpdate ? GENERIC_WRITE : 0);
    Handle handle(CreateFileW(ApiPath(path).c_str(), rights, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
        FailSystem(problem);
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!InfoOf(handle.h, info)) {
        FailSystem(problem);
        return nullptr;
    }
    if (!CheckKind(handle.h, info.dwFileAttributes, problem) ||
        !CheckWritable(info.dwFileAttributes, access, problem)) {
        return nullptr;
    }
    return FilePtr(StreamOf(handle.Release(), access == FileAccess::kUpdate, problem));
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileProblem& problem,
                   std::size_t limit) {
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    return file && ReadAllFromHandle(StreamHandle(file.get()), bytes, limit, problem, true);
}

bool ReplaceFile(const std::string& path, std::string_view bytes, FileProblem& problem) {
    if (!CheckName(path, problem)) {
        return false;
    }
    const std::string target = FinalTarget(path);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    const bool exists = GetFileAttributesExW(ApiPath(target).c_str(), GetFileExInfoStandard, &info);
    if (!exists) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            return FailSystem(problem, error);
        }
    }
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (exists) {
        if (!CheckKind(INVALID_HANDLE_VALUE, info.dwFileAttributes, problem) ||
            !CheckWritable(info.dwFileAttributes, FileAccess::kUpdate, problem) ||
            !TargetFree(target, problem)) {
            return false;
        }
        // The new file keeps what the old one showed (hidden, archive...), links aside.
        attributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
        if (attributes == 0) {
            attributes = FILE_ATTRIBUTE_NORMAL;
        }
    }
    const std::string folder = FolderOf(target);
    const std::string temporary = folder + "." + StateFileName(target) + UniqueSuffix();
    if (!CheckName(temporary, problem)) {
        return false;  // a name near the longest: the temporary one beside it is too long
    }
    // CREATE_NEW: never over an existing name, never through a link planted there.
    Handle out(CreateFileW(ApiPath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           attributes, nullptr));
    if (!out.Valid()) {
        const DWORD error = GetLastError();
        if (exists && error == ERROR_ACCESS_DENIED) {
            FilePtr file = OpenExisting(target, FileAccess::kUpdate, problem);
            return file && RewriteOpenFile(file.get(), bytes, problem);
        }
        return FailSystem(problem, error);
    }
    const bool written = WriteAllAt(out.h, bytes) && FlushFileBuffers(out.h);
    DWORD error = written ? 0 : GetLastError();
    CloseHandle(out.Release());
    if (written && !MoveFileExW(ApiPath(temporary).c_str(), ApiPath(target).c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileW(ApiPath(temporary).c_str());
        return FailSystem(problem, error);
    }
    return true;
}

FileIdentity IdentityOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
    return {ResolvedPath(path), attributes != INVALID_FILE_ATTRIBUTES &&
                                    (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}

bool StillWritable(std::FILE* file, const std::string& path, FileProblem& problem,
                   const FileIdentity* opened) {
    if (opened != nullptr && IdentityOf(path) != *opened) {
        return FailOwn(problem,
                       "a link has been put in the file's place since it was opened, "
                       "or the link it was opened through now leads elsewhere");
    }
    BY_HANDLE_FILE_INFORMATION named{};
    BY_HANDLE_FILE_INFORMATION held{};
    const bool gone = !InfoOfPath(path, named);
    const HANDLE handle = StreamHandle(file);
    if (handle == INVALID_HANDLE_VALUE) {
        held = named;  // a stream without a handle (a test's seam) is judged by its path
    } else if (!InfoOf(handle, held)) {
        return FailSystem(problem);
    }
    if (gone || !SameIndex(held, named)) {
        return FailOwn(problem, "the file has been deleted, moved or replaced since it was opened");
    }
    return CheckKind(handle, held.dwFileAttributes, problem) &&
           CheckWritable(named.dwFileAttributes, FileAccess::kUpdate, problem);
}

WriteLock::~WriteLock() {
    Release();
}

void WriteLock::Release() {
    if (m_fd >= 0) {
        UnlockHandle(reinterpret_cast<HANDLE>(_get_osfhandle(m_fd)));
        m_fd = -1;
    }
}

bool WriteLock::Take(std::FILE* file, FileProblem& problem) {
    const HANDLE handle = StreamHandle(file);
    if (handle == INVALID_HANDLE_VALUE || MemoryOf(file) != nullptr) {
        return true;
    }
    if (m_fd >= 0) {
        return true;  // already held: a Windows lock is not lost by another handle's close
    }
    if (!LockHandle(handle, problem)) {
        return false;
    }
    m_fd = _fileno(file);
    return true;
}

bool RewriteOpenFile(std::FILE* file, std::string_view bytes, FileProblem& problem) {
    std::fflush(file);
    const bool ok = RewriteHandle(StreamHandle(file), bytes, problem);
    std::fseek(file, 0, SEEK_SET);  // the stream's own position follows the handle's
    return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return InfoOfPath(a, first) && InfoOfPath(b, second) && SameIndex(first, second);
}

bool IsFileAtPath(std::FILE* file, const std::string& path) {
    BY_HANDLE_FILE_INFORMATION held{};
    BY_HANDLE_FILE_INFORMATION named{};
    const HANDLE handle = StreamHandle(file);
    return handle == INVALID_HANDLE_VALUE || !InfoOf(handle, held) || !InfoOfPath(path, named) ||
           SameIndex(held, named);
}

bool ReadFreshAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count) {
    const HANDLE handle = StreamHandle(file);
    if (handle == INVALID_HANDLE_VALUE || offset < 0) {
        return offset >= 0 && ReadAt(file, offset, bytes, count);
    }
    std::fflush(file);
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const unsigned long long where = static_cast<unsigned long long>(offset) + done;
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        DWORD got = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 24));
        if (!ReadFile(handle, bytes + done, piece, &got, &at) || got == 0) {
            std::fseek(file, 0, SEEK_SET);
            return false;
        }
        done += got;
    }
    std::fseek(file, 0, SEEK_SET);  // the handle's position moved; the stream follows it
    return true;
}

bool WriteAt(std::FILE* file, long offset, const std::uint8_t* bytes, std::size_t count) {
    // A stream over memory never grows, as on POSIX.
    if (const std::string* memory = MemoryOf(file);
        memory != nullptr &&
        (offset < 0 || static_cast<std::size_t>(offset) + count > memory->size())) {
        errno = ENOSPC;
        return false;
    }
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return false;
    }
    return std::fwrite(bytes, 1, count, file) == count;
}

FilePtr OpenMemory(std::string& bytes) {
    // No stream over memory in this C runtime: a temporary file, deleted at the close, holds
    // the bytes, and the close hands back what was written within them.
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        return nullptr;
    }
    std::wstring name = std::wstring(folder, length) + L"statewright-memory" + Wide(UniqueSuffix());
    Handle handle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle.Valid() || !WriteAllAt(handle.h, bytes)) {
        return nullptr;
    }
    FileProblem ignored;
    std::FILE* file = StreamOf(handle.Release(), true, ignored);
    if (file != nullptr) {
        std::lock_guard<std::mutex> hold(g_memoryLock);
        g_memory[file] = &bytes;
    }
    return FilePtr(file);
}

bool ReadStandardInput(std::string& bytes, FileProblem& problem, std::size_t limit) {
    return ReadAllFromHandle(GetStdHandle(STD_INPUT_HANDLE), bytes, limit, problem, false);
}

bool ReadAllOf(std::FILE* file, std::string& bytes, FileProblem& problem) {
    std::fflush(file);
    const bool read = ReadAllFromHandle(StreamHandle(file), bytes, 64u << 20, problem, true);
    std::fseek(file, 0, SEEK_SET);  // the stream's own position follows the handle's
    return read;
}

FileStamp StampOf(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!InfoOfPath(path, info)) {
        return {};
    }
    const long long nanoseconds = NanosecondsOf(info.ftLastWriteTime);
    return {info.dwVolumeSerialNumber,
            (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
            SizeOf(info), nanoseconds / 1000000000, nanoseconds % 1000000000};
}

long FileSize(std::FILE* file) {
    LARGE_INTEGER size;
    const HANDLE handle = StreamHandle(file);
    if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size)) {
        return -1;
    }
    return static_cast<long>(size.QuadPart);
}

std::string LastErrorText() {
    return std::strerror(errno);
}

void PrepareProcess() {
    // No dialog box for a drive without a disk: the call fails and says so.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The program writes UTF-8; the console shows it as such.
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
}

std::string ResolvedPath(const std::string& path) {
    const std::string resolved = FinalPathOf(path);
    if (!resolved.empty()) {
        return resolved;
    }
    // A file not there yet: its folder resolved, its name as given.
    const std::string folder = FolderOf(path);
    const std::string whole = FinalPathOf(folder.empty() ? "." : folder);
    if (whole.empty()) {
        return path.empty() ? path : UserPath(FullPath(Wide(path)));
    }
    return (whole.back() == '\\' ? whole : whole + "\\") + StateFileName(path);
}

bool MakeFolders(const std::string& path, unsigned, FileProblem& problem) {
    // The parts after the root: "C:\", "\\server\share\" or "\\?\C:\" are never made.
    std::string full = UserPath(FullPath(Wide(path)));
    std::replace(full.begin(), full.end(), '/', '\\');
    std::size_t end = 0;
    if (full.rfind("\\\\", 0) == 0) {
        end = full.find('\\', 2);
        end = end == std::string::npos ? full.size() : full.find('\\', end + 1);
    } else if (full.size() >= 2 && full[1] == ':') {
        end = 2;
    }
    while (end != std::string::npos && end < full.size()) {
        end = full.find_first_not_of('\\', end);
        if (end == std::string::npos) {
            break;
        }
        end = full.find('\\', end);
        const std::string part = full.substr(0, end);
        DWORD attributes = GetFileAttributesW(ApiPath(part).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
                return FailSystem(problem, error);
            }
            if (!CreateDirectoryW(ApiPath(part).c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS) {
                FileProblem made;
                FailSystem(made);
                problem = {made.error, part + ": cannot make the folder: " + made.reason};
                return false;
            }
            attributes = GetFileAttributesW(ApiPath(part).c_str());
        }
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            problem = {ENOTDIR, part + ": it is a file, where a folder should be"};
            return false;
        }
    }
    return true;
}

FilePtr CreateNewFile(const std::string& path, unsigned, FileProblem& problem) {
    if (!CheckName(path, problem)) {
        return nullptr;
    }
    // CREATE_NEW: never over an existing name, a link included. The folders of the user's
    // profile keep the file to the user, as the mode does on POSIX.
    Handle handle(CreateFileW(ApiPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) {
        FailSystem(problem);
        return nullptr;
    }
    std::FILE* file = StreamOf(handle.Release(), true, problem);
    if (file == nullptr) {
        DeleteFileW(ApiPath(path).c_str());
    }
    return FilePtr(file);
}

bool CopyAll(std::FILE* from, std::FILE* to, FileProblem& problem) {
    std::fflush(from);
    std::fflush(to);
    const HANDLE in = StreamHandle(from), out = StreamHandle(to);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(out, &size)) {
        return FailSystem(problem);
    }
    unsigned long long inAt = 0, outAt = static_cast<unsigned long long>(size.QuadPart);
    std::vector<char> buffer(1u << 20);
    while (true) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(inAt);
        at.OffsetHigh = static_cast<DWORD>(inAt >> 32);
        DWORD got = 0;
        if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, &at)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            return FailSystem(problem, error);
        }
        if (got == 0) {
            break;
        }
        if (!WriteAllAt(out, std::string_view(buffer.data(), got), outAt)) {
            return FailSystem(problem);
        }
        inAt += got;
        outAt += got;
    }
    std::fseek(from, 0, SEEK_SET);
    std::fseek(to, 0, SEEK_END);
    return FlushFileBuffers(out) || FailSystem(problem);
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::wstring pattern = ApiPath(folder.empty() ? "." : folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;  // a folder with nothing in it
    }
    do {
        const std::string name = Narrow(found.cFileName);
        if (name == "." || name == "..") {
            continue;
        }
        const bool regular =
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                                       FILE_ATTRIBUTE_DEVICE)) == 0;
        const long long size = static_cast<long long>(
            (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
        entries.push_back(
            {name, regular, regular ? size : 0, NanosecondsOf(found.ftLastWriteTime) / 1000000});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

bool IsPlainFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(ApiPath(path).c_str()) != 0;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int n = 0; n < count; ++n) {
        arguments.push_back(Narrow(wide[n]));
    }
    LocalFree(wide);
    return arguments;
}

std::string UserDataFolder() {
    wchar_t* folder = nullptr;
    std::string found;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK) {
        found = Narrow(folder) + "\\Statewright\\";
    }
    CoTaskMemFree(folder);
    return found;
}

std::string NoUserDataFolderReason() {
    return "Windows names no local application data folder (%LOCALAPPDATA%) for this user. "
           "Sign in with a user profile";
}

std::string ComparablePath(const std::string& resolved) {
    std::wstring wide = Wide(resolved);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (!wide.empty()) {
        CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    return Narrow(wide);
}

std::string ProgramPath() {
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) {
        return {};
    }
    name.resize(length);
    return UserPath(name);
}

}  // namespace sw
