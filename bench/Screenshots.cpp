// Pictures of the window for the documentation and for looking at drawing by eye: each page
// with the demo state open, and the File menu, in the platform's palette or a dark one.
// Run: build/bin/editor_screenshots OUTDIR [--dark] [--font FAMILY,POINTS]
//      (offscreen by default; QT_SCALE_FACTOR=1.5 or 2 gives the larger scales).
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Demo.h"
#include "QuietPlatform.h"
#include "shell/EditorStyle.h"
#include "shell/MainDlg.h"

namespace {

// A dark palette as dark desktop themes give one: light text on near-black, a muted accent.
QPalette DarkPalette() {
    QPalette dark;
    const QColor window(45, 45, 48), base(30, 30, 32), text(225, 225, 225), dim(120, 120, 120);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::Text, text);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, text);
        dark.setColor(group, QPalette::Highlight, QColor(61, 110, 170));
        dark.setColor(group, QPalette::HighlightedText, Qt::white);
        dark.setColor(group, QPalette::ToolTipBase, base);
        dark.setColor(group, QPalette::ToolTipText, text);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, dim);
    }
    dark.setColor(QPalette::Disabled, QPalette::Window, window);
    dark.setColor(QPalette::Disabled, QPalette::Base, window);
    dark.setColor(QPalette::Disabled, QPalette::Button, window);
    dark.setColor(QPalette::Light, QColor(80, 80, 84));
    dark.setColor(QPalette::Midlight, QColor(66, 66, 70));
    dark.setColor(QPalette::Mid, QColor(38, 38, 40));
    dark.setColor(QPalette::Dark, QColor(20, 20, 22));
    dark.setColor(QPalette::Shadow, Qt::black);
    return dark;
}

bool Save(QWidget* widget, const QString& path) {
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    const int fontAt = static_cast<int>(args.indexOf(QStringLiteral("--font")));
    if (fontAt >= 0 && fontAt + 1 < args.size()) {
        const QStringList parts = args.at(fontAt + 1).split(QLatin1Char(','));
        QFont font(parts.value(0));
        font.setPointSizeF(parts.value(1, QStringLiteral("10")).toDouble());
        QApplication::setFont(font);
        args.remove(fontAt, 2);
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: editor_screenshots OUTDIR [--dark] [--font FAMILY,POINTS]\n");
        return 2;
    }
    // Absolute now: opening the state moves the working folder to the state's.
    const QString out = QDir(args.front()).absolutePath();
    QDir().mkpath(out);
    if (dark) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }
    sw::ui::UseEditorStyle();  // over the one chosen, as the program does

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "statewright-shots";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    std::string error;
    if (!sw::WriteDemoFiles(folder.string(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::ofstream(folder / "event.txt") << "'shots\n$0001:Woke up in Vellumgate\n"
                                           "$0002:Met Osgood: the binder\n";

    // One state opened earlier whose file is gone since: File shows it dimmed.
    {
        QSettings settings(QString::fromStdString((folder / "statewright.conf").string()),
                           QSettings::IniFormat);
        settings.beginWriteArray(QStringLiteral("recentFiles"), 1);
        settings.setArrayIndex(0);
        settings.setValue(QStringLiteral("path"), QByteArray("/home/player/old/vellumgate.zs2"));
        settings.endArray();
    }
    QuietPlatform platform;
    sw::ui::MainDlg window(QString::fromStdString((folder / sw::kDemoStateName).string()),
                           sw::ui::Platform{platform, platform, platform, platform},
                           {folder.string() + "/"},
                           QString::fromStdString((folder / "statewright.conf").string()));
    window.show();
    QApplication::processEvents();
    const char* const names[] = {"player-stats", "goods", "misc", "event-flags"};
    const QString suffix = dark ? QStringLiteral("-dark.png") : QStringLiteral(".png");
    bool saved = true;
    for (int tab = 0; tab < 4; ++tab) {
        window.Tabs()->setCurrentIndex(tab);
        QApplication::processEvents();
        saved &= Save(&window, out + QLatin1Char('/') + QLatin1String(names[tab]) + suffix);
    }
    QMenu* file = window.findChild<QMenuBar*>()->actions().front()->menu();
    file->popup(window.mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
    saved &= Save(file, out + QStringLiteral("/file-menu") + suffix);
    file->close();
    std::filesystem::remove_all(folder);
    return saved ? 0 : 1;
}
