#include "MovieFiles.h"

#include <cstdint>
#include <vector>

#include "FileIO.h"

namespace sw {
namespace {

// The bytes of the movie that the data file really holds: fewer, or none, when it is short.
std::vector<std::uint8_t> ReadBlob(std::FILE* source, const MovieBlob& blob) {
    std::vector<std::uint8_t> bytes(blob.length);
    std::size_t got = 0;
    if (std::fseek(source, blob.offset, SEEK_SET) == 0) {
        got = std::fread(bytes.data(), 1, bytes.size(), source);
    }
    bytes.resize(got);
    return bytes;
}

MovieCopyResult CopyMovie(std::FILE* source, const MovieBlob& blob, const std::string& folder) {
    const std::string path = folder + blob.fileName;
    const std::vector<std::uint8_t> bytes =
        source != nullptr ? ReadBlob(source, blob) : std::vector<std::uint8_t>();
    // A missing copy is created even when there is nothing to put in it, so the movie control
    // always gets a file; one that cannot be written is passed over and stays as it was.
    FileProblem problem;
    if (!ReplaceFileStart(path, AsChars(bytes), problem)) {
        return {MovieCopy::kFailed, 0};
    }
    if (source == nullptr) {
        return {MovieCopy::kNoSource, 0};
    }
    const MovieCopy status =
        bytes.size() == blob.length ? MovieCopy::kCopied : MovieCopy::kCopiedPart;
    return {status, bytes.size()};
}

}  // namespace

MovieExtraction ExtractMovieFiles(const std::string& sourcePath, const std::string& folder) {
    FileProblem problem;
    FilePtr source = OpenExisting(sourcePath, FileAccess::kRead, problem);
    MovieExtraction result;
    result.movieA = CopyMovie(source.get(), kMovieA, folder);
    result.movieB = CopyMovie(source.get(), kMovieB, folder);
    return result;
}

}  // namespace sw
