// Where the program's own data files are found. A program run from its own folder finds them in
// the start-up folder, as it always did; one started from a desktop menu starts in $HOME and
// finds them where it is installed.
#pragma once

#include <string>
#include <vector>

namespace sw {

struct DataFile {
    const char* name;
    bool anyCase;  // a file whose name differs only in ASCII case counts too
};

// The documents were named in capitals on a file system that ignores case; event.txt is looked
// up exactly as the description loader opens it, so the Tools command opens the file it reads.
inline constexpr DataFile kAboutFile{"about.dat", false};
inline constexpr DataFile kMovieDataFile{"statewright.dat", false};
inline constexpr DataFile kDefaultDescriptionsFile{"event.txt", false};
inline constexpr DataFile kReadmeFile{"README.TXT", true};
inline constexpr DataFile kWhatsNewFile{"WHATSNEW.TXT", true};
inline constexpr DataFile kDataFiles[] = {kAboutFile, kMovieDataFile, kDefaultDescriptionsFile,
                                          kReadmeFile, kWhatsNewFile};

// The folders searched, in this order, each once and ending in "/": the start-up folder, the
// program's folder, "../share/statewright/" beside the program, then "statewright/" in each
// folder of xdgDataDirs (colon-separated; null or empty means /usr/local/share:/usr/share).
// Empty arguments and relative entries of xdgDataDirs are left out.
std::vector<std::string> DataSearchFolders(const std::string& startUpDir,
                                           const std::string& programDir, const char* xdgDataDirs);

// The path of the first readable regular file (or link to one) of that name in the folders;
// empty when there is none.
std::string FindDataFile(const std::vector<std::string>& folders, const DataFile& file);

// The folder part (ending in "/") of what FindDataFile finds; empty when nothing is found.
std::string FolderOfDataFile(const std::vector<std::string>& folders, const DataFile& file);

// The folders one a line, for messages that say where a file was looked for.
std::string FolderLines(const std::vector<std::string>& folders);

// Each data file with the path where it was found or "not found", then the folders searched.
std::string DataFilesReport(const std::vector<std::string>& folders);

}  // namespace sw
