#include "MovieFiles.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "FileIO.h"

namespace sw {
namespace {

constexpr char kTempSuffix[] = ".part";

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

// Writes `head` and the old copy's bytes behind it to a temporary file, which then replaces
// the copy. On any failure the temporary file is removed and the copy stays as it was.
bool ReplaceStart(FilePtr old, const std::string& path, const std::vector<std::uint8_t>& head) {
    const std::string tempPath = path + kTempSuffix;
    FilePtr temp = OpenFile(tempPath, "wb");
    if (!temp) {
        return false;
    }
    bool ok = std::fwrite(head.data(), 1, head.size(), temp.get()) == head.size() &&
              std::fseek(old.get(), static_cast<long>(head.size()), SEEK_SET) == 0;
    char buffer[4096];
    std::size_t got = 0;
    while (ok && (got = std::fread(buffer, 1, sizeof buffer, old.get())) > 0) {
        ok = std::fwrite(buffer, 1, got, temp.get()) == got;
    }
    ok = ok && std::ferror(old.get()) == 0;
    old.reset();  // closed before the rename, which some systems refuse over an open file
    // On disk before the rename, so that not even a power cut leaves a partial movie.
    ok = Flush(temp.get()) && fsync(fileno(temp.get())) == 0 && ok;
    ok = std::fclose(temp.release()) == 0 && ok;
    std::error_code error;
    if (ok) {
        std::filesystem::rename(tempPath, path, error);
        ok = !error;
    }
    if (!ok) {
        std::filesystem::remove(tempPath, error);
    }
    return ok;
}

MovieCopyResult CopyMovie(std::FILE* source, const MovieBlob& blob, const std::string& folder) {
    const std::string path = folder + blob.fileName;
    // A missing copy is created empty even when there is nothing to put in it, so the movie
    // control always gets a file; one that can be neither updated nor created is passed over.
    FilePtr old = OpenFile(path, "rb+");
    if (!old) {
        OpenFile(path, "ab");
        old = OpenFile(path, "rb+");
    }
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
