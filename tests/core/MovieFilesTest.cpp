// Copying the two movies out of the data file: whole, from a short or missing file, over
// longer copies, and into places that cannot be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "MovieFiles.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace fs = std::filesystem;

constexpr std::size_t kContainerBytes = 75842;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 31 + (i >> 8));
    }
    return bytes;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    const std::size_t end = std::min(bytes.size(), from + count);
    return from >= end ? Bytes() : Bytes(bytes.begin() + from, bytes.begin() + end);
}

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class MovieFolder : public ::testing::Test {
protected:
    TempDir dir;
    std::string source = dir / "statewright.dat";
    std::string folder = dir / "movies/";
    std::string movieA = folder + "statewright.pl";
    std::string movieB = folder + "statewright.ini";
    Bytes container = Pattern(kContainerBytes, 3);

    void SetUp() override { fs::create_directory(folder); }
};

TEST_F(MovieFolder, CopiesBothMoviesWholeOverLongerCopiesKeepingTheirTails) {
    WriteBytes(source, container);
    const Bytes oldA = Pattern(70000, 200);  // longer than movie A
    const Bytes oldB = Pattern(100, 201);    // shorter than movie B
    WriteBytes(movieA, oldA);
    WriteBytes(movieB, oldB);

    const MovieExtraction result = ExtractMovieFiles(source, folder);
    EXPECT_EQ(result.movieA.status, MovieCopy::kCopied);
    EXPECT_EQ(result.movieA.bytesCopied, 68450u);
    EXPECT_EQ(result.movieB.status, MovieCopy::kCopied);
    EXPECT_EQ(result.movieB.bytesCopied, 6514u);
    EXPECT_THAT(DiffOffsets(Concat(Slice(container, 624, 68450), Slice(oldA, 68450, 70000)),
                            ReadBytes(movieA)),
                IsEmpty());
    EXPECT_THAT(DiffOffsets(Slice(container, 69328, 6514), ReadBytes(movieB)), IsEmpty());
    EXPECT_THAT(Entries(folder), ElementsAre("statewright.ini", "statewright.pl"));

    // At every start again: the same bytes, not appended; a copy that already holds them is
    // not written again (the same file, not a new one renamed over it).
    const auto inode = [](const std::string& path) {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode(movieB);
    EXPECT_EQ(ExtractMovieFiles(source, folder).movieB.status, MovieCopy::kCopied);
    EXPECT_EQ(ReadBytes(movieB), Slice(container, 69328, 6514));
    EXPECT_EQ(inode(movieB), before);
}

TEST_F(MovieFolder, WithoutDataFileMissingCopiesAreCreatedEmptyAndExistingOnesKept) {
    MovieExtraction result = ExtractMovieFiles(source, folder);
    EXPECT_EQ(result.movieA.status, MovieCopy::kNoSource);
    EXPECT_EQ(result.movieB.status, MovieCopy::kNoSource);
    EXPECT_EQ(fs::file_size(movieA), 0u);
    EXPECT_EQ(fs::file_size(movieB), 0u);

    const Bytes old = Pattern(5000, 9);
    WriteBytes(movieA, old);
    result = ExtractMovieFiles(source, folder);
    EXPECT_EQ(result.movieA.status, MovieCopy::kNoSource);
    EXPECT_EQ(ReadBytes(movieA), old);
    EXPECT_THAT(Entries(folder), ElementsAre("statewright.ini", "statewright.pl"));
}

TEST_F(MovieFolder, AShortDataFileGivesOnlyTheBytesItHolds) {
    const Bytes oldA = Pattern(70000, 77);
    const Bytes oldB = Pattern(7000, 78);
    // The data file's size, and the bytes copied of each movie.
    const std::tuple<std::size_t, std::size_t, std::size_t> cases[] = {
        {624 + 1000, 1000, 0}, {600, 0, 0}, {69328 + 10, 68450, 10}};
    for (const auto& [sourceSize, copiedA, copiedB] : cases) {
        SCOPED_TRACE(sourceSize);
        WriteBytes(source, Slice(container, 0, sourceSize));
        WriteBytes(movieA, oldA);
        WriteBytes(movieB, oldB);
        const MovieExtraction result = ExtractMovieFiles(source, folder);
        EXPECT_EQ(result.movieA.status,
                  copiedA == 68450 ? MovieCopy::kCopied : MovieCopy::kCopiedPart);
        EXPECT_EQ(result.movieA.bytesCopied, copiedA);
        EXPECT_EQ(result.movieB.status, MovieCopy::kCopiedPart);
        EXPECT_EQ(result.movieB.bytesCopied, copiedB);
        EXPECT_THAT(DiffOffsets(Concat(Slice(container, 624, copiedA), Slice(oldA, copiedA, 70000)),
                                ReadBytes(movieA)),
                    IsEmpty());
        EXPECT_THAT(
            DiffOffsets(Concat(Slice(container, 69328, copiedB), Slice(oldB, copiedB, 7000)),
                        ReadBytes(movieB)),
            IsEmpty());
    }
    EXPECT_THAT(Entries(folder), ElementsAre("statewright.ini", "statewright.pl"));
}

TEST_F(MovieFolder, UnwritablePlacesAreSkippedAndLeaveNothingBehind) {
    WriteBytes(source, container);
    const MovieExtraction missing = ExtractMovieFiles(source, dir / "no-such-folder/");
    EXPECT_EQ(missing.movieA.status, MovieCopy::kFailed);
    EXPECT_EQ(missing.movieB.status, MovieCopy::kFailed);
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));

    // Movie A's copy is a FIFO: refused at once, never waited on or replaced. A link planted
    // at the old fixed temporary name is neither followed nor touched.
    if (Can(kNoFifos, "a FIFO in place of movie A")) {
        ASSERT_TRUE(MakeFifo(movieA));
        fs::create_symlink(dir / "victim", movieA + ".tmp");
        const MovieExtraction blocked = ExtractMovieFiles(source, folder);
        EXPECT_EQ(blocked.movieA.status, MovieCopy::kFailed);
        EXPECT_TRUE(fs::is_fifo(movieA));
        EXPECT_EQ(blocked.movieB.status, MovieCopy::kCopied);
        EXPECT_FALSE(fs::exists(dir / "victim"));
        fs::remove(movieA + ".tmp");
        fs::remove(movieA);
        const Bytes oldA = Pattern(300, 5);
        WriteBytes(movieA, oldA);
        EXPECT_THAT(Entries(folder), ElementsAre("statewright.ini", "statewright.pl"));
    }

    // Root writes into read-only folders anyway.
    if (!RunningAsRoot() && Can(kNoModeBits, "a folder that takes no new file") &&
        Can(kNoFifos, "the copy that exists rewritten in place")) {
        // A folder that takes no new file: the copy that exists is rewritten in place, the
        // missing one cannot be made.
        fs::remove(movieB);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        const MovieExtraction readOnly = ExtractMovieFiles(source, folder);
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(readOnly.movieA.status, MovieCopy::kCopied);
        EXPECT_EQ(readOnly.movieB.status, MovieCopy::kFailed);
        EXPECT_EQ(ReadBytes(movieA), Slice(container, 624, 68450));
        EXPECT_THAT(Entries(folder), ElementsAre("statewright.pl"));
    }
}

}  // namespace
}  // namespace sw::test
