#include "FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "PathRules.h"

namespace sw {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel gives up on a chain of links
constexpr char kInUse[] =
    "the file is in use: another program holds a lock on it (nothing was waited for)";

bool Fail(FileProblem& problem, int error) {
    problem.error = error;
    problem.reason = std::strerror(error);
    return false;
}

bool FailOwn(FileProblem& problem, std::string reason) {
    problem.error = 0;
    problem.reason = std::move(reason);
    return false;
}

std::string ModeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Only a regular file holds what we read and write; anything else is refused by its kind.
bool CheckKind(const struct stat& info, FileProblem& problem) {
    if (S_ISREG(info.st_mode)) {
        return true;
    }
    if (S_ISDIR(info.st_mode)) {
        return FailOwn(problem, "it is a folder, not a file");
    }
    if (S_ISFIFO(info.st_mode)) {
        return FailOwn(problem, "it is a named pipe (FIFO), not a regular file");
    }
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        return FailOwn(problem, "it is a device, not a regular file");
    }
    if (S_ISSOCK(info.st_mode)) {
        return FailOwn(problem, "it is a socket, not a regular file");
    }
    return FailOwn(problem, "it is not a regular file");
}

// The mode bits speak for the file's owner even where root could ignore them.
bool CheckMode(const struct stat& info, FileAccess access, FileProblem& problem) {
    if ((info.st_mode & 0444) == 0) {
        return FailOwn(problem,
                       "the file's mode (" + ModeText(info.st_mode) + ") allows no reading");
    }
    if (access == FileAccess::kUpdate && (info.st_mode & 0222) == 0) {
        return FailOwn(problem, "the file is read-only (mode " + ModeText(info.st_mode) + ")");
    }
    return true;
}

bool WriteAllAt(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

bool ReadAllFrom(int fd, std::string& bytes, std::size_t limit, FileProblem& problem) {
    // Read straight into room for the size the file has now (and a byte more, to see the end
    // in the same call): appending pieces would copy a large state over and over.
    struct stat info {};
    const std::size_t expected = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0
                                     ? static_cast<std::size_t>(info.st_size)
                                     : 0;
    bytes.assign(std::min(expected, limit) + 1, '\0');
    std::size_t have = 0;
    while (true) {
        if (have == bytes.size()) {
            bytes.resize(std::max<std::size_t>(have * 2, 65536));  // it grew meanwhile
        }
        const ssize_t got = read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            bytes.clear();
            return Fail(problem, error);
        }
        if (got == 0) {
            bytes.resize(have);
            return true;
        }
        have += static_cast<std::size_t>(got);
        if (have > limit) {
            bytes.clear();
            return FailOwn(problem, "it is larger than " + std::to_string(limit >> 20) +
                                        " MiB, the most this program reads");
        }
    }
}

// The final target of a chain of links: the path itself when it is no link, or the name a
// dangling link points to (where a new file is then created).
bool ResolveLinks(const std::string& path, std::string& target, FileProblem& problem) {
    target = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0) {
            return errno == ENOENT || Fail(problem, errno);
        }
        if (!S_ISLNK(info.st_mode)) {
            return true;
        }
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1,
                         '\0');
        const ssize_t length = readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            return Fail(problem, errno);
        }
        link.resize(static_cast<std::size_t>(length));
        target = !link.empty() && link.front() == '/' ? link : FolderOf(target) + link;
    }
    return Fail(problem, ELOOP);
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);  // the rename itself reaches the disk; a failure here loses nothing
        close(fd);
    }
}

// Rewrites a file in place: the old bytes are kept in memory and put back should the rewrite
// fail; a file that must grow first gets its room, so a full disk fails before anything is
// written.
bool RewriteDescriptor(int fd, std::string_view bytes, FileProblem& problem) {
    struct stat info {};
    bool ok = fstat(fd, &info) == 0
                  ? CheckKind(info, problem) && CheckMode(info, FileAccess::kUpdate, problem)
                  : Fail(problem, errno);
    std::string old;
    ok = ok && lseek(fd, 0, SEEK_SET) == 0 && ReadAllFrom(fd, old, 1u << 30, problem);
    if (ok && bytes.size() > old.size()) {
        const int reserved = posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            ok = Fail(problem, reserved);
        }
    }
    if (ok && !(WriteAllAt(fd, bytes) && ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
                fsync(fd) == 0)) {
        const int error = errno;
        if (WriteAllAt(fd, old)) {
            (void)ftruncate(fd, static_cast<off_t>(old.size()));
        }
        ok = Fail(problem, error);
    }
    return ok;
}

// For a folder that takes no new file: the file is rewritten in place.
bool RewriteInPlace(const std::string& target, std::string_view bytes, FileProblem& problem) {
    const int fd = open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Fail(problem, errno);
    }
    bool ok = RewriteDescriptor(fd, bytes, problem);
    if (close(fd) != 0 && ok) {
        ok = Fail(problem, errno);
    }
    return ok;
}

// Another program's lock on the file, as flock and fcntl see it; our own is taken with both.
bool LockDescriptor(int fd, FileProblem& problem) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? FailOwn(problem, kInUse) : Fail(problem, errno);
    }
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    if (fcntl(fd, F_SETLK, &range) != 0) {
        const int error = errno;
        flock(fd, LOCK_UN);
        // A descriptor open for reading only takes no write lock: it writes nothing either.
        if (error == EBADF) {
            return true;
        }
        return error == EACCES || error == EAGAIN ? FailOwn(problem, kInUse) : Fail(problem, error);
    }
    return true;
}

void UnlockDescriptor(int fd) {
    struct flock range {};
    range.l_type = F_UNLCK;
    range.l_whence = SEEK_SET;
    fcntl(fd, F_SETLK, &range);
    flock(fd, LOCK_UN);
}

// A whole-file replace takes no lock on a file it is about to retire, but it does not go
// ahead while another program holds one.
bool TargetUnlocked(const std::string& target, FileProblem& problem) {
    const int fd = open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return true;  // the checks and the write say what is wrong with it
    }
    const bool free = LockDescriptor(fd, problem);
    if (free) {
        UnlockDescriptor(fd);
    }
    close(fd);
    return free;
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string KindText(const struct stat& info) {
    FileProblem kind;
    return CheckKind(info, kind) ? std::string("it is a file") : kind.reason;
}

}  // namespace

void FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

FilePtr OpenExisting(const std::string& path, FileAccess access, FileProblem& problem) {
    // Looked at before opening, so that a device is never opened at all, and again after, in
    // case the name was given to another file meanwhile.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        Fail(problem, errno);
        return nullptr;
    }
    if (!CheckKind(info, problem) || !CheckMode(info, access, problem)) {
        return nullptr;
    }
    const int flags =
        (access == FileAccess::kUpdate ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const int fd = open(path.c_str(), flags);
    if (fd < 0) {
        Fail(problem, errno);
        return nullptr;
    }
    const bool usable = fstat(fd, &info) == 0
                            ? CheckKind(info, problem) && CheckMode(info, access, problem)
                            : Fail(problem, errno);
    if (!usable) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, access == FileAccess::kUpdate ? "rb+" : "rb");
    if (file == nullptr) {
        Fail(problem, errno);
        close(fd);
    }
    return FilePtr(file);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, FileProblem& problem,
                   std::size_t limit) {
    FilePtr file = OpenExisting(path, FileAccess::kRead, problem);
    return file && ReadAllFrom(fileno(file.get()), bytes, limit, problem);
}

bool ReplaceFile(const std::string& path, std::string_view bytes, FileProblem& problem) {
    std::string target;
    if (!ResolveLinks(path, target, problem)) {
        return false;
    }
    struct stat info {};
    const bool exists = lstat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(problem, errno);
    }
    mode_t mode = NewFileMode();
    if (exists) {
        if (!CheckKind(info, problem) || !CheckMode(info, FileAccess::kUpdate, problem)) {
            return false;
        }
        // The rename below needs only the folder's permission; the file's own must hold too.
        if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return Fail(problem, errno);
        }
        mode = info.st_mode & 07777;
        if (!TargetUnlocked(target, problem)) {
            return false;
        }
    }
    const std::string folder = FolderOf(target);
    std::string temporary = folder + "." + StateFileName(target) + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);  // O_CREAT | O_EXCL: never a link
    if (fd < 0) {
        if (exists && (errno == EACCES || errno == EPERM)) {
            return RewriteInPlace(target, bytes, problem);
        }
        return Fail(problem, errno);
    }
    bool ok = fchmod(fd, mode) == 0;
    if (exists) {
        (void)fchown(fd, info.st_uid, info.st_gid);  // matters only when root writes
    }
    ok = ok && WriteAllAt(fd, bytes) && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Fail(problem, error);
    }
    SyncFolder(folder);
    return true;
}

FileIdentity IdentityOf(const std::string& path) {
    struct stat info {};
    return {ResolvedPath(path), lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)};
}

bool StillWritable(std::FILE* file, const std::string& path, FileProblem& problem,
                   const FileIdentity* opened) {
    if (opened != nullptr && IdentityOf(path) != *opened) {
        return FailOwn(problem, "a link has been put in the file's place since it was opened, "
                                "or the link it was opened through now leads elsewhere");
    }
    struct stat held {};
    struct stat named {};
    const bool gone = stat(path.c_str(), &named) != 0;
    // A stream without a descriptor (a test's seam over the writes) is judged by its path.
    if (fileno(file) < 0) {
        held = named;
    } else if (fstat(fileno(file), &held) != 0) {
        return Fail(problem, errno);
    }
    if (gone || held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
        return FailOwn(problem, "the file has been deleted, moved or replaced since it was opened");
    }
    return CheckKind(held, problem) && CheckMode(held, FileAccess::kUpdate, problem);
}

WriteLock::~WriteLock() {
    Release();
}

void WriteLock::Release() {
    if (m_fd >= 0) {
        UnlockDescriptor(m_fd);
        m_fd = -1;
    }
}

bool WriteLock::Take(std::FILE* file, FileProblem& problem) {
    const int fd = fileno(file);
    if (fd < 0) {
        return true;
    }
    if (!LockDescriptor(fd, problem)) {
        return false;
    }
    m_fd = fd;
    return true;
}

bool RewriteOpenFile(std::FILE* file, std::string_view bytes, FileProblem& problem) {
    std::fflush(file);
    const bool ok = RewriteDescriptor(fileno(file), bytes, problem);
    std::fseek(file, 0, SEEK_SET);  // the stream's own position follows the descriptor's
    return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsFileAtPath(std::FILE* file, const std::string& path) {
    struct stat held {};
    struct stat named {};
    const int fd = fileno(file);
    return fd < 0 || fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0 ||
           (held.st_dev == named.st_dev && held.st_ino == named.st_ino);
}

bool ReadFreshAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count) {
    const int fd = fileno(file);
    if (fd < 0) {
        return ReadAt(file, offset, bytes, count);  // a test's seam: it holds no buffer of ours
    }
    std::fflush(file);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, bytes + done, count - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteAt(std::FILE* file, long offset, const std::uint8_t* bytes, std::size_t count) {
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return false;
    }
    return std::fwrite(bytes, 1, count, file) == count;
}

namespace {

struct MemoryFile {
    std::string* bytes;
    std::size_t position = 0;
};

ssize_t MemoryRead(void* cookie, char* buffer, std::size_t size) {
    auto* memory = static_cast<MemoryFile*>(cookie);
    const std::size_t count =
        std::min(size, memory->bytes->size() - std::min(memory->position, memory->bytes->size()));
    std::memcpy(buffer, memory->bytes->data() + memory->position, count);
    memory->position += count;
    return static_cast<ssize_t>(count);
}

ssize_t MemoryWrite(void* cookie, const char* buffer, std::size_t size) {
    auto* memory = static_cast<MemoryFile*>(cookie);
    if (memory->position + size > memory->bytes->size()) {
        errno = ENOSPC;  // the bytes never grow
        return -1;
    }
    std::memcpy(memory->bytes->data() + memory->position, buffer, size);
    memory->position += size;
    return static_cast<ssize_t>(size);
}

int MemorySeek(void* cookie, off64_t* offset, int whence) {
    auto* memory = static_cast<MemoryFile*>(cookie);
    const off64_t base = whence == SEEK_SET   ? 0
                         : whence == SEEK_CUR ? static_cast<off64_t>(memory->position)
                                              : static_cast<off64_t>(memory->bytes->size());
    if (base + *offset < 0) {
        errno = EINVAL;
        return -1;
    }
    memory->position = static_cast<std::size_t>(base + *offset);
    *offset = base + *offset;
    return 0;
}

int MemoryClose(void* cookie) {
    delete static_cast<MemoryFile*>(cookie);
    return 0;
}

}  // namespace

FilePtr OpenMemory(std::string& bytes) {
    auto* memory = new MemoryFile{&bytes};
    std::FILE* file =
        fopencookie(memory, "r+b", {MemoryRead, MemoryWrite, MemorySeek, MemoryClose});
    if (file == nullptr) {
        delete memory;
    }
    return FilePtr(file);
}

bool ReadStandardInput(std::string& bytes, FileProblem& problem, std::size_t limit) {
    return ReadAllFrom(STDIN_FILENO, bytes, limit, problem);
}

bool ReadAllOf(std::FILE* file, std::string& bytes, FileProblem& problem) {
    std::fflush(file);
    if (lseek(fileno(file), 0, SEEK_SET) < 0) {
        return Fail(problem, errno);
    }
    const bool read = ReadAllFrom(fileno(file), bytes, 64u << 20, problem);
    std::fseek(file, 0, SEEK_SET);  // the stream's own position follows the descriptor's
    return read;
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino), static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec),
            static_cast<long long>(info.st_mtim.tv_nsec)};
}

long FileSize(std::FILE* file) {
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) {
        return -1;
    }
    return static_cast<long>(info.st_size);
}

std::string LastErrorText() {
    return std::strerror(errno);
}

void PrepareProcess() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int null = open("/dev/null", O_RDWR);  // the lowest free number: this one
            if (null >= 0 && null != fd) {
                close(null);
            }
        }
    }
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string ResolvedPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    // A file not there yet: its folder resolved, its name as given.
    const std::string folder = FolderOf(path);
    if (realpath(folder.empty() ? "." : folder.c_str(), resolved) == nullptr) {
        return path;
    }
    std::string whole = resolved;
    return (whole.back() == '/' ? whole : whole + "/") + StateFileName(path);
}

bool MakeFolders(const std::string& path, unsigned mode, FileProblem& problem) {
    std::size_t end = path.find_first_not_of('/');
    while (end != std::string::npos) {
        end = path.find('/', end);
        const std::string part = path.substr(0, end);
        struct stat info {};
        if (lstat(part.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                return Fail(problem, errno);
            }
            if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) {
                problem = {errno, part + ": cannot make the folder: " + std::strerror(errno)};
                return false;
            }
            if (lstat(part.c_str(), &info) != 0) {
                return Fail(problem, errno);
            }
        }
        if (S_ISLNK(info.st_mode)) {
            struct stat target {};
            if (stat(part.c_str(), &target) != 0) {
                problem = {errno, part + ": it is a link to something that is not there (" +
                                      std::strerror(errno) + "), not a folder"};
                return false;
            }
            info = target;
        }
        if (!S_ISDIR(info.st_mode)) {
            const std::string kind =
                S_ISREG(info.st_mode) ? std::string("it is a file") : KindText(info);
            problem = {ENOTDIR, part + ": " + kind.substr(0, kind.find(", not")) +
                                    ", where a folder should be"};
            return false;
        }
        end = path.find_first_not_of('/', end);
    }
    return true;
}

FilePtr CreateNewFile(const std::string& path, unsigned mode, FileProblem& problem) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        static_cast<mode_t>(mode));
    if (fd < 0) {
        Fail(problem, errno);
        return nullptr;
    }
    (void)fchmod(fd, static_cast<mode_t>(mode));  // whatever the umask says
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        Fail(problem, errno);
        close(fd);
        unlink(path.c_str());
    }
    return FilePtr(file);
}

bool CopyAll(std::FILE* from, std::FILE* to, FileProblem& problem) {
    std::fflush(from);
    std::fflush(to);
    const int in = fileno(from), out = fileno(to);
    if (lseek(in, 0, SEEK_SET) < 0) {
        return Fail(problem, errno);
    }
    std::vector<char> buffer(1u << 20);
    while (true) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(problem, errno);
        }
        if (got == 0) {
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t wrote = write(out, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (wrote < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return Fail(problem, errno);
            }
            done += wrote;
        }
    }
    std::fseek(from, 0, SEEK_SET);
    return fsync(out) == 0 || Fail(problem, errno);
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return false;
    }
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        const bool regular = lstat((prefix + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
        entries.push_back({name, regular, regular ? static_cast<long long>(info.st_size) : 0,
                           static_cast<long long>(info.st_mtim.tv_sec) * 1000 +
                               info.st_mtim.tv_nsec / 1000000});
    }
    closedir(dir);
    return true;
}

bool IsPlainFile(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string UserDataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return WithSlash(dataHome) + "statewright/";
    }
    // A relative HOME would put them under whatever the working folder is: ignored as well.
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return WithSlash(home) + ".local/share/statewright/";
    }
    return {};
}

std::string NoUserDataFolderReason() {
    return "neither XDG_DATA_HOME nor HOME holds an absolute path. Set HOME (or XDG_DATA_HOME) "
           "to your home folder";
}

std::string ComparablePath(const std::string& resolved) {
    return resolved;
}

std::string ProgramPath() {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace sw
