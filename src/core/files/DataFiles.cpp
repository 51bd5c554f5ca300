#include "DataFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string_view>

namespace sw {
namespace {

constexpr char kDefaultXdgDataDirs[] = "/usr/local/share:/usr/share";

// "/usr/bin/../share/statewright" -> "/usr/share/statewright/", so that the same folder reached
// two ways is searched once and shown plainly.
std::string FolderPath(const std::string& dir) {
    std::string folder = std::filesystem::path(dir).lexically_normal().string();
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

bool IsReadableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), R_OK) == 0;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::string FindInFolder(const std::string& folder, const DataFile& file) {
    if (IsReadableFile(folder + file.name)) {
        return folder + file.name;
    }
    if (!file.anyCase) {
        return {};
    }
    std::vector<std::string> spellings;
    // Stepped with an error code: a folder that goes away meanwhile ends the walk, it never
    // throws out of the core.
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (SameIgnoringAsciiCase(name, file.name)) {
            spellings.push_back(std::move(name));
        }
    }
    std::sort(spellings.begin(), spellings.end());  // the same pick on every run
    for (const std::string& name : spellings) {
        if (IsReadableFile(folder + name)) {
            return folder + name;
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> DataSearchFolders(const std::string& startUpDir,
                                           const std::string& programDir, const char* xdgDataDirs) {
    std::vector<std::string> folders;
    const auto add = [&folders](const std::string& dir) {
        std::string folder = FolderPath(dir);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(std::move(folder));
        }
    };
    if (!startUpDir.empty()) {
        add(startUpDir);
    }
    if (!programDir.empty()) {
        add(programDir);
        add(FolderPath(programDir) + "../share/statewright");
    }
    std::istringstream dataDirs(
        xdgDataDirs != nullptr && *xdgDataDirs != '\0' ? xdgDataDirs : kDefaultXdgDataDirs);
    for (std::string dir; std::getline(dataDirs, dir, ':');) {
        if (!dir.empty() && dir.front() == '/') {  // relative entries are invalid there
            add(FolderPath(dir) + "statewright");
        }
    }
    return folders;
}

std::string FindDataFile(const std::vector<std::string>& folders, const DataFile& file) {
    for (const std::string& folder : folders) {
        std::string path = FindInFolder(folder, file);
        if (!path.empty()) {
            return path;
        }
    }
    return {};
}

std::string FolderOfDataFile(const std::vector<std::string>& folders, const DataFile& file) {
    const std::string path = FindDataFile(folders, file);
    return path.substr(0, path.find_last_of('/') + 1);
}

std::string FolderLines(const std::vector<std::string>& folders) {
    std::string lines;
    for (const std::string& folder : folders) {
        lines += folder + '\n';
    }
    return lines;
}

std::string DataFilesReport(const std::vector<std::string>& folders) {
    std::string report;
    for (const DataFile& file : kDataFiles) {
        const std::string path = FindDataFile(folders, file);
        std::string name = file.name;
        name.resize(std::max<std::size_t>(name.size() + 2, 17), ' ');
        report += name + (path.empty() ? "not found" : path) + '\n';
    }
    return report + "\nLooked for in this order:\n" + FolderLines(folders);
}

}  // namespace sw
