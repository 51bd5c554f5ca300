#include "MovieFiles.h"

#include <cstdint>
#include <utility>
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

// The copy's new content: `head`, then whatever the old copy held behind it (the original
// overwrote the copy in place). A copy that already holds it is left alone, so an ordinary
// start writes nothing and waits for no disk. False when the old copy cannot be read.
bool ReplaceStart(FilePtr old, const std::string& path, const std::vector<std::uint8_t>& head) {
    std::string oldContent;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, old.get())) > 0) {
        oldContent.append(buffer, got);
    }
    const bool read = std::ferror(old.get()) == 0;
    old.reset();  // closed before the rename, which some systems refuse over an open file
    std::string content(head.begin(), head.end());
    if (oldContent.size() > content.size()) {
        content.append(oldContent, content.size());
    }
    return read && (content == oldContent || ReplaceFileContent(path, content));
}

MovieCopyResult CopyMovie(std::FILE* source, const MovieBlob& blob, const std::string& folder) {
    const std::string path = folder + blob.fileName;
    // A missing copy is created empty even when there is nothing to put in it, so the movie
    // control always gets a file; one that can be neither updated nor created is passed over.
    FilePtr old = OpenForUpdate(path);
    if (!old) {
        return {MovieCopy::kFailed, 0};
    }
    if (!source) {
        return {MovieCopy::kNoSource, 0};
    }
    const std::vector<std::uint8_t> bytes = ReadBlob(source, blob);
    if (!bytes.empty() && !ReplaceStart(std::move(old), path, bytes)) {
        return {MovieCopy::kFailed, 0};
    }
    const MovieCopy status =
        bytes.size() == blob.length ? MovieCopy::kCopied : MovieCopy::kCopiedPart;
    return {status, bytes.size()};
}

}  // namespace

MovieExtraction ExtractMovieFiles(const std::string& sourcePath, const std::string& folder) {
    FilePtr source = OpenFile(sourcePath, "rb");
    MovieExtraction result;
    result.movieA = CopyMovie(source.get(), kMovieA, folder);
    result.movieB = CopyMovie(source.get(), kMovieB, folder);
    return result;
}

}  // namespace sw
