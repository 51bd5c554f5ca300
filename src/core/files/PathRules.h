// How the editor derives names from a save state's path. A separator is "/" (and "\" on
// Windows); "the last separator" is the last of either.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sw {

// The separators of this platform's paths, the one the program writes, and the line end of a
// new text file.
#ifdef _WIN32
inline constexpr char kPathSeparators[] = "/\\";
inline constexpr char kPathSeparator = '\\';
inline constexpr char kTextLineEnd[] = "\r\n";
#else
inline constexpr char kPathSeparators[] = "/";
inline constexpr char kPathSeparator = '/';
inline constexpr char kTextLineEnd[] = "\n";
#endif

// The path up to its last "." with ".smc" appended (the whole path when there is no ".").
// The last "." may lie in a folder name; the rule cuts there all the same.
std::string RomPathFor(const std::string& statePath);

// The ROMs that may belong to a state, in the order they are tried, each once: RomPathFor,
// then the same with ".sfc". The names RetroArch, snes9x and ares give their states
// ("Game.state", ".state1"-".state9", ".state.auto", ".000"-".009", ".frz", ".bs1"-".bs9")
// lose that whole suffix: for "Game.state.auto" (any case) "Game.smc" and "Game.sfc" follow.
std::vector<std::string> RomCandidatesFor(const std::string& statePath);

// The part behind the last separator.
std::string StateFileName(const std::string& statePath);

// The file name up to its last "." with every other "." removed; empty when the path has no
// "." or its last "." lies before the file name.
std::string StateBaseName(const std::string& statePath);

// The folder part, up to and including the last separator; empty for a bare name.
std::string FolderOf(const std::string& path);

// A path as a terminal may show it: control characters and backslashes escaped as `ls -b`
// does ("\\n", "\\033"), so that a name holding a line break stays on one line. A backslash
// that separates, on Windows, stays as it is.
std::string PrintablePath(const std::string& path);

// The document's own description file, in the working directory: "event.<base>.txt".
std::string DescriptionFileName(const std::string& baseName);

// The File menu's list of states opened last: newest first, each path once, at most this many.
inline constexpr std::size_t kRecentFileCount = 8;

// The list with `path` (made absolute against the working folder) put first. A list read
// from a settings file of any content comes through as a list of that kind.
// How the list keeps a path: absolute against the working folder, without "." and "..".
std::string RecentFilePath(const std::string& path);
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path);
std::vector<std::string> CleanRecentFiles(const std::vector<std::string>& stored);

// Entry `index` (0-7) of that list in the menu: its keyboard number, then the printable path
// with each "&" doubled so that it shows as itself.
std::string RecentFileMenuText(std::size_t index, const std::string& path);

}  // namespace sw
