#include "PathRules.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace sw {
namespace {

// Position just behind the last separator, 0 when there is none.
std::size_t NameStart(const std::string& path) {
    const std::size_t last = path.find_last_of(kPathSeparators);
    return last == std::string::npos ? 0 : last + 1;
}

// RetroArch's automatic state, "Game.state.auto": the only emulator suffix of two parts. The
// others (".state", ".state1"-".state9", snes9x's ".000"-".009" and ".frz", ares's
// ".bs1"-".bs9") are the last extension, which the cut at the last "." removes anyway.
constexpr std::string_view kAuto = ".state.auto";

bool HasAutoStateSuffix(const std::string& path) {
    const std::size_t start = NameStart(path);
    if (path.size() - start <= kAuto.size()) {
        return false;
    }
    for (std::size_t k = 0; k < kAuto.size(); ++k) {
        const char c = path[path.size() - kAuto.size() + k];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != kAuto[k]) {
            return false;
        }
    }
    return true;
}

// The path up to its last ".", the whole path when it has none.
std::string CutAtLastDot(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

}  // namespace

std::vector<std::string> RomCandidatesFor(const std::string& statePath) {
    std::vector<std::string> stems = {CutAtLastDot(statePath)};
    if (HasAutoStateSuffix(statePath)) {
        stems.push_back(statePath.substr(0, statePath.size() - kAuto.size()));
    }
    std::vector<std::string> candidates;
    for (const std::string& base : stems) {
        for (const char* extension : {".smc", ".sfc"}) {
            std::string path = base + extension;
            if (std::find(candidates.begin(), candidates.end(), path) == candidates.end()) {
                candidates.push_back(std::move(path));
            }
        }
    }
    return candidates;
}

std::string RomPathFor(const std::string& statePath) {
    return CutAtLastDot(statePath) + ".smc";
}

std::string StateFileName(const std::string& statePath) {
    return statePath.substr(NameStart(statePath));
}

std::string StateBaseName(const std::string& statePath) {
    const std::size_t dot = statePath.rfind('.');
    const std::size_t start = NameStart(statePath);
    if (dot == std::string::npos || start >= dot) {
        return {};
    }
    std::string base = statePath.substr(start, dot - start);
    base.erase(std::remove(base.begin(), base.end(), '.'), base.end());
    return base;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, NameStart(path));
}

std::string PrintablePath(const std::string& path) {
    std::string shown;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const char* named = c == '\n'                             ? "\\n"
                            : c == '\t'                           ? "\\t"
                            : c == '\\' && kPathSeparator != '\\' ? "\\\\"
                                                                  : nullptr;
        if (named != nullptr) {
            shown += named;
        } else if (byte < 0x20 || byte == 0x7F) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", byte);
            shown += octal;
        } else {
            shown += c;
        }
    }
    return shown;
}

std::vector<std::string> CleanRecentFiles(const std::vector<std::string>& stored) {
    std::vector<std::string> list;
    for (const std::string& path : stored) {
        if (list.size() == kRecentFileCount) {
            break;
        }
        if (!path.empty() && std::find(list.begin(), list.end(), path) == list.end()) {
            list.push_back(path);
        }
    }
    return list;
}

std::string RecentFilePath(const std::string& path) {
    std::error_code error;
    // As UTF-8 both ways: a narrow path is in the ANSI code page on Windows.
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::u8string(path.begin(), path.end()), error);
    const std::u8string normal = absolute.lexically_normal().u8string();
    return error ? path : std::string(normal.begin(), normal.end());
}

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path) {
    list.insert(list.begin(), RecentFilePath(path));
    return CleanRecentFiles(list);
}

std::string RecentFileMenuText(std::size_t index, const std::string& path) {
    std::string text(1, '&');  // appended, not "&" + ...: GCC 12 at -O3 warns (-Wrestrict)
    text += std::to_string(index + 1);
    text += ' ';
    for (const char c : PrintablePath(path)) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

std::string DescriptionFileName(const std::string& baseName) {
    return "event." + baseName + ".txt";
}

}  // namespace sw
