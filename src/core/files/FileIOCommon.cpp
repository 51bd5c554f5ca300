// The parts of the file layer that are the same on every platform: they use its other calls
// or the C library alone.
#include <cerrno>
#include <cstdio>

#include "FileIO.h"

namespace sw {

bool FileProblem::IsMissing() const {
    return error == ENOENT;
}

std::string Describe(const std::string& path, const FileProblem& problem) {
    return path + ": " + problem.reason;
}

bool ReplaceFileStart(const std::string& path, std::string_view head, FileProblem& problem) {
    std::string old;
    FileProblem readProblem;
    const bool exists = ReadWholeFile(path, old, readProblem);
    if (!exists && !readProblem.IsMissing()) {
        problem = readProblem;
        return false;
    }
    std::string content(head);
    if (old.size() > content.size()) {
        content.append(old, content.size());
    }
    return (exists && content == old) || ReplaceFile(path, content, problem);
}

bool ReadAt(std::FILE* file, long offset, std::uint8_t* bytes, std::size_t count) {
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return false;
    }
    return std::fread(bytes, 1, count, file) == count;
}

bool Flush(std::FILE* file) {
    const bool flushed = std::fflush(file) == 0;
    const bool clean = std::ferror(file) == 0;
    std::clearerr(file);  // so that a later attempt, after the user freed space, can succeed
    return flushed && clean;
}

}  // namespace sw
