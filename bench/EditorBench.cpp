// How long the editor's everyday steps take on the demo files: start-up to the first shown
// window, opening a state until every page is filled, saving, and switching members.
// Run: build/bin/editor_bench (offscreen by default).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <filesystem>
#include <fstream>

#include "Demo.h"
#include "Prompter.h"
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
