// The two movies that name phrases 1 and 2 play are kept in one data file; at every start
// each is copied out to a file of fixed name, from which the movie control plays it.
#pragma once

#include <cstddef>
#include <string>

namespace sw {

// Where a movie lies in the data file, and the name its copy has in the movie folder. The
// names do not say what the files hold; the movie control plays them by path.
struct MovieBlob {
    long offset;
    std::size_t length;
    const char* fileName;
};

// clang-format off
inline constexpr MovieBlob kMovieA{624, 68450, "statewright.pl"};    // 68,450 bytes at 0x270
inline constexpr MovieBlob kMovieB{69328, 6514, "statewright.ini"};  // 6,514 bytes at 0x10ED0
// clang-format on

enum class MovieCopy {
    kCopied,      // the whole movie
    kCopiedPart,  // the data file ends inside the movie: only the bytes it holds (maybe none)
    kNoSource,    // no data file: nothing copied, a missing copy created empty
    kFailed,      // the copy could not be opened, created or replaced; it is as it was
};

struct MovieCopyResult {
    MovieCopy status = MovieCopy::kFailed;
    std::size_t bytesCopied = 0;
};

struct MovieExtraction {
    MovieCopyResult movieA;
    MovieCopyResult movieB;
};

// Copies each movie over the start of its copy in `folder` (which exists and ends in a
// separator); a copy longer than its movie keeps its tail. The copies are replaced whole
// (FileIO's ReplaceFileStart), so no copy is ever left half-written, and one that already
// holds its movie is not written at all.
MovieExtraction ExtractMovieFiles(const std::string& sourcePath, const std::string& folder);

}  // namespace sw
