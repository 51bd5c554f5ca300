// Where the program's data files are found: the order of the folders, what counts as found, and
// the report that --data-files prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "DataFiles.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

using ::testing::ElementsAreArray;
namespace fs = std::filesystem;

struct FolderCase {
    const char* what;
    const char* startUp;
    const char* program;
    const char* xdgDataDirs;
    std::vector<std::string> folders;
};

TEST(DataFiles, FoldersAreSearchedStartUpProgramShareThenXdgEachOnce) {
    const FolderCase cases[] = {
        {"built program started elsewhere",
         "/home/p",
         "/opt/sw/bin",
         nullptr,
         {"/home/p/", "/opt/sw/bin/", "/opt/sw/share/statewright/", "/usr/local/share/statewright/",
          "/usr/share/statewright/"}},
        {"installed in /usr: its share folder once, before /usr/local",
         "/home/p/",
         "/usr/bin/",
         "",
         {"/home/p/", "/usr/bin/", "/usr/share/statewright/", "/usr/local/share/statewright/"}},
        {"started in its own folder",
         "/opt/sw/bin",
         "/opt/sw/bin/",
         "/usr/share",
         {"/opt/sw/bin/", "/opt/sw/share/statewright/", "/usr/share/statewright/"}},
        {"XDG_DATA_DIRS: own order, empty and relative entries skipped",
         "/home/p",
         "/usr/games",
         "/custom/share/::share:/usr/share/:~/x",
         {"/home/p/", "/usr/games/", "/usr/share/statewright/", "/custom/share/statewright/"}},
        {"no start-up folder (it was deleted), a program path with ..",
         "",
         "/opt/sw/bin/../libexec",
         "/usr/share",
         {"/opt/sw/libexec/", "/opt/sw/share/statewright/", "/usr/share/statewright/"}},
    };
    for (const FolderCase& c : cases) {
        EXPECT_THAT(DataSearchFolders(c.startUp, c.program, c.xdgDataDirs),
                    ElementsAreArray(c.folders))
            << c.what;
    }
}

struct Present {
    int folder;  // 0 start-up, 1 program, 2 share
    const char* name;
    enum Kind { kFile, kFolder, kDanglingLink, kLinkToFile } kind = kFile;
};

struct FindCase {
    const char* what;
    std::vector<Present> present;
    DataFile wanted;
    int foundFolder;  // -1: not found
    const char* foundName;
};

TEST(DataFiles, TheFirstFolderHoldingAReadableFileWins) {
    const FindCase cases[] = {
        {"program before share", {{1, "about.dat"}, {2, "about.dat"}}, kAboutFile, 1, "about.dat"},
        {"start-up before program",
         {{0, "about.dat"}, {1, "about.dat"}},
         kAboutFile,
         0,
         "about.dat"},
        {"only the share folder", {{2, "statewright.dat"}}, kMovieDataFile, 2, "statewright.dat"},
        {"nowhere", {{1, "about.txt"}}, kAboutFile, -1, ""},
        {"about.dat is matched exactly",
         {{0, "About.dat"}, {2, "about.dat"}},
         kAboutFile,
         2,
         "about.dat"},
        {"event.txt exactly too, as the loader opens it",
         {{0, "EVENT.TXT"}, {1, "event.txt"}},
         kDefaultDescriptionsFile,
         1,
         "event.txt"},
        {"documents in any case, the earlier folder first",
         {{0, "readme.txt"}, {1, "README.TXT"}},
         kReadmeFile,
         0,
         "readme.txt"},
        {"the exact spelling before another in the same folder",
         {{1, "WhatsNew.txt"}, {1, "WHATSNEW.TXT"}},
         kWhatsNewFile,
         1,
         "WHATSNEW.TXT"},
        {"two other spellings: the first by byte order",
         {{1, "readme.TXT"}, {1, "ReadMe.txt"}},
         kReadmeFile,
         1,
         "ReadMe.txt"},
        {"a folder of that name is passed over",
         {{0, "about.dat", Present::kFolder}, {1, "about.dat"}},
         kAboutFile,
         1,
         "about.dat"},
        {"a dangling link is passed over",
         {{0, "about.dat", Present::kDanglingLink}, {2, "about.dat"}},
         kAboutFile,
         2,
         "about.dat"},
        {"a link to a file counts",
         {{0, "about.dat", Present::kLinkToFile}, {1, "about.dat"}},
         kAboutFile,
         0,
         "about.dat"},
    };
    for (const FindCase& c : cases) {
        TempDir dir;
        const std::vector<std::string> folders = {dir / "start/", dir / "bin/",
                                                  dir / "share/statewright/"};
        for (const std::string& folder : folders) {
            fs::create_directories(folder);
        }
        std::ofstream(dir / "target") << "x";
        for (const Present& p : c.present) {
            const std::string path = folders[p.folder] + p.name;
            switch (p.kind) {
                case Present::kFile:
                    std::ofstream(path) << p.name;
                    break;
                case Present::kFolder:
                    fs::create_directory(path);
                    break;
                case Present::kDanglingLink:
                    fs::create_symlink(dir / "gone", path);
                    break;
                case Present::kLinkToFile:
                    fs::create_symlink(dir / "target", path);
                    break;
            }
        }
        const std::string expected =
            c.foundFolder < 0 ? std::string() : folders[c.foundFolder] + c.foundName;
        EXPECT_EQ(FindDataFile(folders, c.wanted), expected) << c.what;
        EXPECT_EQ(FolderOfDataFile(folders, c.wanted),
                  c.foundFolder < 0 ? std::string() : folders[c.foundFolder])
            << c.what;
    }
}

TEST(DataFiles, ReportNamesEachFileWhereFoundThenTheFolders) {
    TempDir dir;
    const std::vector<std::string> folders = {dir / "a/", dir / "b/"};
    fs::create_directories(folders[1]);
    for (const char* name : {"about.dat", "statewright.dat", "readme.txt", "WHATSNEW.TXT"}) {
        std::ofstream(folders[1] + name) << name;
    }
    EXPECT_EQ(DataFilesReport(folders),
              "about.dat        " + folders[1] + "about.dat\n" +            //
                  "statewright.dat  " + folders[1] + "statewright.dat\n" +  //
                  "event.txt        not found\n" +                          //
                  "README.TXT       " + folders[1] + "readme.txt\n" +       //
                  "WHATSNEW.TXT     " + folders[1] + "WHATSNEW.TXT\n" +     //
                  "\nLooked for in this order:\n" + folders[0] + "\n" + folders[1] + "\n");
}

}  // namespace
}  // namespace sw::test
