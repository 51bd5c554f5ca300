#include "EditorApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "DataFiles.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/QtPrompter.h"
#include "platform/SoundPlayer.h"
#include "shell/EditorStyle.h"
#include "shell/MainDlg.h"

namespace sw::ui {
namespace {

// Options answered in the terminal start no window, so they work where there is no display.
bool AsksForNoWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version" || arg == "--data-files") {
            return true;
        }
    }
    return false;
}

bool AllDataFilesFound(const std::vector<std::string>& folders) {
    return std::all_of(std::begin(kDataFiles), std::end(kDataFiles),
                       [&](const DataFile& file) { return !FindDataFile(folders, file).empty(); });
}

}  // namespace

int EditorApp::Run(int argc, char** argv) {
    // Taken before anything moves the working directory: the first place the data files are
    // looked for, as a program run from its own folder always found them there.
    const std::string startUpDir = QFile::encodeName(QDir::currentPath()).toStdString();
    const bool windowless = AsksForNoWindow(argc, argv);
    const std::unique_ptr<QCoreApplication> app =
        windowless ? std::make_unique<QCoreApplication>(argc, argv)
                   : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("statewright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STATEWRIGHT_VERSION));
    if (!windowless) {
        // Names the desktop entry, so that Wayland shows the program's icon and name.
        QGuiApplication::setDesktopFileName(QStringLiteral(STATEWRIGHT_APP_ID));
        UseEditorStyle();
    }
    m_programDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + '/';
    m_dataFolders = DataSearchFolders(startUpDir, m_programDir, std::getenv("XDG_DATA_DIRS"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vellumgate Save State Editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataFiles(
        QStringLiteral("data-files"),
        QStringLiteral("Print where each data file was found and where they are looked for; "
                       "exit status 1 when one is missing."));
    parser.addOption(dataFiles);
    parser.addPositionalArgument(
        QStringLiteral("state"),
        QStringLiteral("The save state to open: ZSNES, bsnes-mercury, snes9x, RetroArch or ares."),
        QStringLiteral("[state]"));
    parser.process(*app);
    if (parser.isSet(dataFiles)) {
        std::fputs(DataFilesReport(m_dataFolders).c_str(), stdout);
        return AllDataFilesFound(m_dataFolders) ? 0 : 1;
    }

    QtPrompter prompter;
    QtFileDialogs dialogs;
    AudioSoundPlayer sounds;
    DesktopDocumentOpener opener;
    MainDlg dialog(parser.positionalArguments().value(0),
                   Platform{prompter, dialogs, sounds, opener}, m_dataFolders);
    prompter.SetParent(&dialog);
    dialog.show();
    return app->exec();
}

}  // namespace sw::ui
