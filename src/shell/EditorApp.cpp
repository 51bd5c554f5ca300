#include "EditorApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/QtPrompter.h"
#include "platform/SoundPlayer.h"
#include "shell/MainDlg.h"

namespace sw::ui {

std::string ProgramDirFor(const QString& executableDir) {
    QString dir = executableDir;
    const QString shared =
        QDir(executableDir).absoluteFilePath(QStringLiteral("../share/statewright"));
    if (!QFileInfo::exists(QDir(executableDir).filePath(QStringLiteral("event.txt"))) &&
        QFileInfo::exists(QDir(shared).filePath(QStringLiteral("event.txt")))) {
        dir = QDir::cleanPath(shared);
    }
    return QFile::encodeName(QDir::toNativeSeparators(dir + QLatin1Char('/'))).toStdString();
}

int EditorApp::Run(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("statewright"));
    QApplication::setApplicationVersion(QStringLiteral(STATEWRIGHT_VERSION));
    m_programDir = ProgramDirFor(QApplication::applicationDirPath());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vellumgate Save State Editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("state"),
                                 QStringLiteral("The save state to open (*.zs*)."),
                                 QStringLiteral("[state]"));
    parser.process(app);

    QtPrompter prompter;
    QtFileDialogs dialogs;
    AudioSoundPlayer sounds;
    DesktopDocumentOpener opener;
    MainDlg dialog(parser.positionalArguments().value(0),
                   Platform{prompter, dialogs, sounds, opener}, m_programDir);
    prompter.SetParent(&dialog);
    dialog.show();
    return app.exec();
}

}  // namespace sw::ui
