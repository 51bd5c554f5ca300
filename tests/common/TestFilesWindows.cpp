// The Windows forms of the helpers in TestFiles.h that need the Windows API, kept out of the
// header so that <windows.h> and its macros reach no test.
#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "TestFiles.h"

namespace sw::test {
namespace {

std::wstring Wide(const std::string& utf8) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

}  // namespace

std::string HostPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    // Wine's own call for this; on Windows itself the build's paths are drive paths already.
    using DosName = wchar_t* (*)(const char*);
    const auto dosName = reinterpret_cast<DosName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    wchar_t* converted = dosName != nullptr ? dosName(path.c_str()) : nullptr;
    if (converted == nullptr) {
        return "Z:" + path;
    }
    const std::string result = Narrow(converted);
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

int RunShell(const std::string& command, std::string* said) {
    std::string ignored;
    said = said != nullptr ? said : &ignored;
    // cmd.exe /c takes off the first and the last quote of a line that starts with one: one
    // pair more around the whole keeps those of the program's path. Text mode: "\r\n" as "\n".
    FILE* pipe = _wpopen(Wide("\"" + command + "\"").c_str(), L"r");
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        said->append(buffer);
    }
    return pipe != nullptr ? _pclose(pipe) : -1;
}

bool SetReadOnlyAttribute(const std::string& path) {
    const std::wstring name = PathOf(path).wstring();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

HeldFile::HeldFile(const std::string& path, Kind kind) {
    const DWORD sharing = kind == kDenyWrite
                              ? FILE_SHARE_READ
                              : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = CreateFileW(PathOf(path).wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                                sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    OVERLAPPED whole{};
    if (kind == kLocked && !LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY,
                                       0, MAXDWORD, MAXDWORD, &whole)) {
        CloseHandle(handle);
        return;
    }
    m_handle = handle;
}

HeldFile::~HeldFile() {
    if (m_handle != nullptr) {
        CloseHandle(m_handle);  // lets go of a lock as well
    }
}

std::string LocalAppDataFolder() {
    wchar_t* folder = nullptr;
    std::string result;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder) == S_OK) {
        result = Narrow(folder);
    }
    CoTaskMemFree(folder);
    return result;
}

}  // namespace sw::test
