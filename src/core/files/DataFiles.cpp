#include "DataFiles.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string_view>

#include "FileIO.h"
#include "PathRules.h"

namespace sw {
namespace {

constexpr char kDefaultXdgDataDirs[] = "/usr/local/share:/usr/share";

// "/usr/bin/../share/statewright" -> "/usr/share/statewright/", so that the same folder reached
// two ways is searched once and shown plainly.
std::string FolderPath(const std::string& dir) {
    // As UTF-8 both ways: a narrow path is in the ANSI code page on Windows.
    const std::u8string normal =
        std::filesystem::path(std::u8string(dir.begin(), dir.end())).lexically_normal().u8string();
    std::string folder(normal.begin(), normal.end());
    if (folder.empty() || folder.find_last_of(kPathSeparators) != folder.size() - 1) {
        folder += kPathSeparator;
    }
    return folder;
}

bool IsReadableFile(const std::string& path) {
    FileProblem problem;
    return OpenExisting(path, FileAccess::kRead, problem) != nullptr;
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
    std::vector<FolderEntry> entries;
    ListFolder(folder, entries);  // a folder that cannot be read holds no spelling
    for (FolderEntry& entry : entries) {
        if (SameIgnoringAsciiCase(entry.name, file.name)) {
            spellings.push_back(std::move(entry.name));
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
    return path.substr(0, path.find_last_of(kPathSeparators) + 1);
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
