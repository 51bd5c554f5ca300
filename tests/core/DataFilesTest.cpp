// Where the program's data files are found: the order of the folders, what counts as found, and
// the report that --data-files prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "DataFiles.h"
#include "TestFiles.h"

namespace sw::test {
namespace {

namespace fs = std::filesystem;

// Each row: what, start-up folder, program folder, XDG_DATA_DIRS, the folders searched ("*" for
// share/statewright/).
TEST(DataFiles, FoldersAreSearchedStartUpProgramShareThenXdgEachOnce) {
    const std::tuple<const char*, const char*, const char*, const char*, std::string> cases[] = {
        {"built program started elsewhere", "/home/p", "/opt/sw/bin", nullptr,
         "/home/p/ /opt/sw/bin/ /opt/sw/* /usr/local/* /usr/*"},
        {"installed in /usr: its share folder once, before /usr/local", "/home/p/", "/usr/bin/", "",
         "/home/p/ /usr/bin/ /usr/* /usr/local/*"},
        {"started in its own folder", "/opt/sw/bin", "/opt/sw/bin/", "/usr/share",
         "/opt/sw/bin/ /opt/sw/* /usr/*"},
        {"XDG_DATA_DIRS: own order, empty and relative entries skipped", "/home/p", "/usr/games",
         "/custom/share/::share:/usr/share/:~/x", "/home/p/ /usr/games/ /usr/* /custom/*"},
        {"no start-up folder (it was deleted), a program path with ..", "",
         "/opt/sw/bin/../libexec", "/usr/share", "/opt/sw/libexec/ /opt/sw/* /usr/*"},
    };
    for (auto [what, startUp, program, xdgDataDirs, expected] : cases) {
        for (std::size_t at; (at = expected.find('*')) != std::string::npos;) {
            expected.replace(at, 1, "share/statewright/");
        }
        std::string searched;
        for (const std::string& folder : DataSearchFolders(startUp, program, xdgDataDirs)) {
            searched += (searched.empty() ? "" : " ") + folder;
        }
        EXPECT_EQ(Generic(searched), expected) << what;
    }
}

// Which file FindDataFile takes from the folders start/, bin/ and share/ (in this order), given
// the entries present: "folder/name" is a file, "folder/name/" a folder of that name,
// "folder/name@" a link to nowhere, "folder/name>" a link to a file.
TEST(DataFiles, TheFirstFolderHoldingAReadableFileWins) {
    struct Case {
        const char* what;
        const char* present;
        DataFile wanted;
        const char* found;
        const char* lacking = nullptr;
    };
    const Case cases[] = {
        {"program before share", "bin/about.dat share/about.dat", kAboutFile, "bin/about.dat"},
        {"start-up before program", "start/about.dat bin/about.dat", kAboutFile, "start/about.dat"},
        {"only the share folder", "share/statewright.dat", kMovieDataFile, "share/statewright.dat"},
        {"nowhere", "bin/about.txt", kAboutFile, ""},
        {"about.dat is matched exactly", "start/About.dat share/about.dat", kAboutFile,
         "share/about.dat", kNoCaseInNames},
        {"event.txt exactly too, as the loader opens it", "start/EVENT.TXT bin/event.txt",
         kDefaultDescriptionsFile, "bin/event.txt", kNoCaseInNames},
        {"documents in any case, the earlier folder first", "start/readme.txt bin/README.TXT",
         kReadmeFile, "start/readme.txt"},
        {"the exact spelling before another in the same folder",
         "bin/WhatsNew.txt bin/WHATSNEW.TXT", kWhatsNewFile, "bin/WHATSNEW.TXT", kNoCaseInNames},
        {"two other spellings: the first by byte order", "bin/readme.TXT bin/ReadMe.txt",
         kReadmeFile, "bin/ReadMe.txt", kNoCaseInNames},
        {"a folder of that name is passed over", "start/about.dat/ bin/about.dat", kAboutFile,
         "bin/about.dat"},
        {"a dangling link is passed over", "start/about.dat@ share/about.dat", kAboutFile,
         "share/about.dat"},
        {"a link to a file counts", "start/about.dat> bin/about.dat", kAboutFile,
         "start/about.dat"},
    };
    for (const auto& [what, present, wanted, found, lacking] : cases) {
        const bool links = std::string(present).find_first_of("@>") != std::string::npos;
        if (!Can(links ? kNoLinks : lacking, what)) {
            continue;
        }
        TempDir dir;
        const std::vector<std::string> folders = {dir / "start/", dir / "bin/", dir / "share/"};
        for (const std::string& folder : folders) {
            fs::create_directories(folder);
        }
        std::ofstream(dir / "target") << "x";
        std::istringstream entries(present);
        for (std::string entry; entries >> entry;) {
            const char kind = entry.back();
            const std::string path =
                dir / entry.substr(0, entry.size() - (kind == '/' || kind == '@' || kind == '>'));
            if (kind == '/') {
                fs::create_directory(path);
            } else if (kind == '@' || kind == '>') {
                fs::create_symlink(dir / (kind == '@' ? "gone" : "target"), path);
            } else {
                std::ofstream(path) << entry;
            }
        }
        const std::string expected = *found == 0 ? "" : dir / found;
        EXPECT_EQ(Folded(FindDataFile(folders, wanted)), Folded(expected)) << what;
        EXPECT_EQ(Folded(FolderOfDataFile(folders, wanted)),
                  Folded(expected.substr(0, expected.rfind('/') + 1)))
            << what;
    }
}

TEST(DataFiles, ReportNamesEachFileWhereFoundThenTheFolders) {
    TempDir dir;
    const std::vector<std::string> folders = {dir / "a/", dir / "b/"};
    fs::create_directories(folders[1]);
    for (const char* name : {"about.dat", "statewright.dat", "readme.txt", "WHATSNEW.TXT"}) {
        std::ofstream(folders[1] + name) << name;
    }
    EXPECT_EQ(Folded(DataFilesReport(folders)),
              Folded("about.dat        " + folders[1] + "about.dat\n" +        //
                     "statewright.dat  " + folders[1] + "statewright.dat\n" +  //
                     "event.txt        not found\n" +                          //
                     "README.TXT       " + folders[1] + "readme.txt\n" +       //
                     "WHATSNEW.TXT     " + folders[1] + "WHATSNEW.TXT\n" +     //
                     "\nLooked for in this order:\n" + folders[0] + "\n" + folders[1] + "\n"));
}

}  // namespace
}  // namespace sw::test
