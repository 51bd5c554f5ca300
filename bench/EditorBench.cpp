// How long the editor's everyday steps take on the demo files: start-up to the first shown
// window (beside a bare dialog of the same size, the baseline it is read against), opening a
// state until every page is filled, saving, switching members and refilling the flag list.
// Run: build/bin/editor_bench (offscreen by default).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "Demo.h"
#include "Prompter.h"
#include "pages/EventFlagsPage.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/SoundPlayer.h"
#include "shell/MainDlg.h"

namespace {

struct QuietPlatform : sw::Prompter,
                       sw::ui::FileDialogs,
                       sw::ui::SoundPlayer,
                       sw::ui::DocumentOpener {
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return true; }
    QString GetOpenFileName(const QString&) override { return {}; }
    QString GetSaveFileName(const QString&, const QString&) override { return {}; }
    void Play(int) override {}
    bool Open(const QString&) override { return true; }
};

struct DemoFolder {
    DemoFolder() {
        path = (std::filesystem::temp_directory_path() / "statewright-bench").string();
        std::filesystem::create_directories(path);
        std::string error;
        sw::WriteDemoFiles(path, error);
        std::ofstream(path + "/event.txt") << "'bench\n$0001:Woke up in Vellumgate\n";
        state = path + "/" + sw::kDemoStateName;
    }
    std::string path;
    std::string state;
};

DemoFolder& Demo() {
    static DemoFolder folder;
    return folder;
}

std::unique_ptr<sw::ui::MainDlg> MakeWindow(QuietPlatform& platform, const QString& file = {}) {
    return std::make_unique<sw::ui::MainDlg>(
        file, sw::ui::Platform{platform, platform, platform, platform}, Demo().path + "/");
}

// The least any window of this size costs to appear: editor start-up is read as a multiple.
void BareDialogStartup(benchmark::State& state) {
    QuietPlatform platform;
    const QSize size = MakeWindow(platform)->size();
    for (auto _ : state) {
        QDialog dialog;
        dialog.setFixedSize(size);
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.isVisible());
    }
}
BENCHMARK(BareDialogStartup)->Unit(benchmark::kMillisecond);

void StartupToFirstShownWindow(benchmark::State& state) {
    QuietPlatform platform;
    const QString file = QString::fromStdString(Demo().state);
    for (auto _ : state) {
        auto window = MakeWindow(platform, file);
        window->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window->isVisible());
    }
}
BENCHMARK(StartupToFirstShownWindow)->Unit(benchmark::kMillisecond);

void OpenToFilledPages(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform);
    for (auto _ : state) {
        window->Doc().OpenIfValid(Demo().state);
    }
}
BENCHMARK(OpenToFilledPages)->Unit(benchmark::kMicrosecond);

void Save(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    for (auto _ : state) {
        window->Doc().SaveDocument();
    }
}
BENCHMARK(Save)->Unit(benchmark::kMicrosecond);

void SwitchMember(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    int member = 0;
    for (auto _ : state) {
        member = (member + 1) % 4;
        window->Doc().Transfer().SwitchCharacter(member, true);
    }
}
BENCHMARK(SwitchMember)->Unit(benchmark::kMicrosecond);

// The fill every load, close and member switch does: the call alone (the page hidden, as
// during an open), and with the Event Flags tab shown and the list repainted.
void RebuildFlagList(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    for (auto _ : state) {
        window->PageSet().flags->RebuildFlagList();
    }
}
BENCHMARK(RebuildFlagList)->Unit(benchmark::kMicrosecond);

void RebuildFlagListShown(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    window->show();
    window->Tabs()->setCurrentIndex(3);
    QApplication::processEvents();
    for (auto _ : state) {
        window->PageSet().flags->RebuildFlagList();
        QApplication::processEvents();
    }
}
BENCHMARK(RebuildFlagListShown)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QString cwd = QDir::currentPath();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir::setCurrent(cwd);
    return 0;
}
