// How long the editor's everyday steps take on the demo files: start-up to the first shown
// window (beside a bare dialog of the same size, the baseline it is read against), opening a
// state until every page is filled, saving, switching members, refilling the flag list,
// reloading a state another program changed, and comparing two states. Opening, saving and
// switching members are measured for every emulator's framing too.
// Run: build/bin/editor_bench (offscreen by default).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTabWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "DataFiles.h"
#include "Demo.h"
#include "EmulatorStates.h"
#include "QuietPlatform.h"
#include "StateCheck.h"
#include "StateDiff.h"
#include "pages/EventFlagsPage.h"
#include "platform/QtPrompter.h"
#include "shell/EditorStyle.h"
#include "shell/MainDlg.h"

namespace {

using namespace sw::test;  // the other emulators' state writers

struct DemoFolder {
    DemoFolder() {
        path = (std::filesystem::temp_directory_path() / "statewright-bench").string();
        std::filesystem::create_directories(path);
        setenv("XDG_DATA_HOME", (path + "/data").c_str(), 1);  // backups stay in here
        // The start-up child opens the demo as the program does: its list of recent files
        // goes in here too, not into the user's settings.
        setenv("XDG_CONFIG_HOME", (path + "/config").c_str(), 1);
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

// The demo's work RAM in each framing the editor reads, beside the demo ROM (which a bsnes
// state's hash does not name: the question is answered Yes, after the hash of the whole ROM).
struct FormatCase {
    const char* label;
    const char* extension;
    std::string (*make)();
};
const FormatCase kFormats[] = {
    {"ZSNES", ".zs1", nullptr},
    {"bsnes Accuracy", ".state", [] { return BsnesState(DemoWram(), "Accuracy", 8192); }},
    {"bsnes in RetroArch RZIP", ".state1",
     [] { return Rzip(Rastate(BsnesState(DemoWram(), "Accuracy", 8192))); }},
    {"snes9x gzip", ".000", [] { return Gzip(Snes9xSnapshot(DemoWram())); }},
    {"ares", ".bs1", [] { return AresState(DemoWram(), 8192); }},
};

// The state of framing `index` (0: the demo itself), written anew.
std::string FormatState(benchmark::State& state, int index) {
    const FormatCase& format = kFormats[index];
    state.SetLabel(format.label);
    if (format.make == nullptr) {
        return Demo().state;
    }
    const std::string path = Demo().path + "/vellumgate" + format.extension;
    std::ofstream(path, std::ios::binary) << format.make();
    return path;
}

std::unique_ptr<sw::ui::MainDlg> MakeWindow(QuietPlatform& platform, const QString& file = {}) {
    return std::make_unique<sw::ui::MainDlg>(
        file, sw::ui::Platform{platform, platform, platform, platform},
        std::vector<std::string>{Demo().path + "/"},
        QString::fromStdString(Demo().path + "/statewright.conf"));
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

constexpr int kLastFormat = static_cast<int>(std::size(kFormats)) - 1;

void OpenToFilledPages(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform);
    const std::string path = FormatState(state, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        window->Doc().OpenIfValid(path);
    }
}
BENCHMARK(OpenToFilledPages)->DenseRange(0, kLastFormat)->Unit(benchmark::kMicrosecond);

void Save(benchmark::State& state) {
    QuietPlatform platform;
    const std::string path = FormatState(state, static_cast<int>(state.range(0)));
    auto window = MakeWindow(platform, QString::fromStdString(path));
    for (auto _ : state) {
        window->Doc().SaveDocument();
    }
}
BENCHMARK(Save)->DenseRange(0, kLastFormat)->Unit(benchmark::kMicrosecond);

// The first save of a run copies the whole state to the backup folder (and retires the oldest
// backup beyond ten) before it writes.
void FirstSaveOfARun(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    for (auto _ : state) {
        window->Doc().backups = sw::BackupKeeper(sw::DefaultBackupFolder());
        window->Doc().SaveDocument();
    }
}
BENCHMARK(FirstSaveOfARun)->Unit(benchmark::kMicrosecond);

void SwitchMember(benchmark::State& state) {
    QuietPlatform platform;
    const std::string path = FormatState(state, static_cast<int>(state.range(0)));
    auto window = MakeWindow(platform, QString::fromStdString(path));
    int member = 0;
    for (auto _ : state) {
        member = (member + 1) % 4;
        window->Doc().Transfer().SwitchCharacter(member, true);
    }
}
BENCHMARK(SwitchMember)->DenseRange(0, kLastFormat)->Unit(benchmark::kMicrosecond);

// What the title's mark of unsaved edits costs after each edit: the pages gathered and compared
// with the record as loaded.
void UnsavedMark(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    for (auto _ : state) {
        window->Doc().UpdateUnsavedMark();
    }
}
BENCHMARK(UnsavedMark)->Unit(benchmark::kMicrosecond);

// Another program changed the state on disk: the check after the quiet period (read the file,
// compare it with what was loaded, look for edits on the pages) and the reload it leads to.
// Each round the file holds other cash, written outside the timing.
void ReloadAfterOutsideChange(benchmark::State& state) {
    QuietPlatform platform;
    auto window = MakeWindow(platform, QString::fromStdString(Demo().state));
    std::vector<std::uint8_t> bytes = sw::MakeDemoState();
    for (auto _ : state) {
        state.PauseTiming();
        ++bytes[42052];
        std::ofstream(Demo().state, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        state.ResumeTiming();
        window->Doc().OnDiskChanged();
    }
    std::string error;
    sw::WriteDemoFiles(Demo().path, error);
}
BENCHMARK(ReloadAfterOutsideChange)->Unit(benchmark::kMicrosecond);

// `statewright-cli diff A B --raw` without the printing: both files read and checked, both
// records read, the fields, the flags and every byte outside the fields compared.
void DiffDemoFiles(benchmark::State& state) {
    const std::string other = Demo().path + "/other.zs1";
    std::vector<std::uint8_t> bytes = sw::MakeDemoState();
    bytes[42052] ^= 1, bytes[43040] ^= 1, bytes[5000] ^= 1;
    std::ofstream(other, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    sw::DescriptionTable descriptions;
    for (auto _ : state) {
        std::string a, b;
        sw::FileProblem problem;
        sw::GameState first, second;
        first.NumberMembers(), second.NumberMembers();
        sw::ReadStateBytes(Demo().state, a, problem);
        sw::ReadStateBytes(other, b, problem);
        first.ReadAll(a), second.ReadAll(b);
        benchmark::DoNotOptimize(sw::CompareStates(first, second, &descriptions));
        benchmark::DoNotOptimize(sw::CompareOutsideFields(a, b));
    }
}
BENCHMARK(DiffDemoFiles)->Unit(benchmark::kMicrosecond);

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

// Start-up as the user meets it: a new process, from its start until its window has painted
// for the first time. Two baselines run in processes of their own: a bare dialog of the same
// size, what any Qt window costs to appear here, and the same dialog with one line of text,
// which also starts the font system (fontconfig), as every window with a word on it must.
constexpr char kStartupChild[] = "--startup-child";

// In the child: ends the process at the window's first paint, leaving teardown unmeasured.
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::_Exit(0);
        }
        return false;
    }
};

// argv: --startup-child bare|label WIDTH HEIGHT, or --startup-child editor STATE PROGRAM_DIR.
int RunStartupChild(int argc, char** argv) {
    QApplication app(argc, argv);
    if (std::string(argv[2]) == "editor") {
        sw::ui::UseEditorStyle();  // as the program does
    }
    FirstPaint firstPaint;
    if (std::string(argv[2]) == "bare" || std::string(argv[2]) == "label") {
        QDialog dialog;
        dialog.setFixedSize(std::atoi(argv[3]), std::atoi(argv[4]));
        if (std::string(argv[2]) == "label") {
            new QLabel(QStringLiteral("Vellumgate Save State Editor"), &dialog);
        }
        dialog.installEventFilter(&firstPaint);
        dialog.show();
        return app.exec();
    }
    // The editor with the program's own platform services, as the program starts it.
    sw::ui::QtPrompter prompter;
    sw::ui::QtFileDialogs dialogs;
    sw::ui::AudioSoundPlayer sounds;
    sw::ui::DesktopDocumentOpener opener;
    // The data files are looked for as the program looks for them, PROGRAM_DIR standing for
    // the executable's folder.
    sw::ui::MainDlg window(QString::fromLocal8Bit(argv[3]),
                           sw::ui::Platform{prompter, dialogs, sounds, opener},
                           sw::DataSearchFolders(QDir::currentPath().toStdString(), argv[4],
                                                 std::getenv("XDG_DATA_DIRS")));
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}

void ProcessStartup(benchmark::State& state, const char* kind) {
    QStringList arguments{QLatin1String(kStartupChild), QLatin1String(kind)};
    if (std::string(kind) != "editor") {
        QuietPlatform platform;
        const QSize size = MakeWindow(platform)->size();
        arguments << QString::number(size.width()) << QString::number(size.height());
    } else {
        arguments << QString::fromStdString(Demo().state)
                  << QString::fromStdString(Demo().path + "/");
    }
    const QString self = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        QProcess child;
        child.start(self, arguments);
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            state.SkipWithError("the start-up child failed");
            return;
        }
    }
}
BENCHMARK_CAPTURE(ProcessStartup, BareDialog, "bare")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(30);
BENCHMARK_CAPTURE(ProcessStartup, Label, "label")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(30);
BENCHMARK_CAPTURE(ProcessStartup, Editor, "editor")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(30);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc == 5 && std::string(argv[1]) == kStartupChild) {
        return RunStartupChild(argc, argv);
    }
    const QString cwd = QDir::currentPath();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir::setCurrent(cwd);
    return 0;
}
