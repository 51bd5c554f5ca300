// Editing beside a running emulator, through the real window: a state changed on disk by
// another program is reloaded when nothing is being edited, and is never written over unseen
// when something is; Tools > Compare with...; a rename after the ROM changed on disk.
#include <gmock/gmock.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "Backups.h"
#include "EditorFixture.h"
#include "ItemNames.h"
#include "Messages.h"
#include "document/DiskWatch.h"
#include "pages/ControlIds.h"
#include "pages/EventFlagsPage.h"
#include "pages/FlagListCtrl.h"
#include "pages/GoodsList.h"
#include "pages/GoodsPage.h"
#include "shell/CompareDlg.h"
#include "shell/MainDlg.h"
#include "shell/RestoreBackupDlg.h"

namespace sw::test {
namespace {

namespace id = ui::id;

constexpr int kSave = 32773;
constexpr long kCash = 42052;
constexpr long kLevel0 = 42465 + 5;
// Long enough for the quiet period and a reload that should not happen.
constexpr int kQuietWaitMs = 3 * ui::DiskWatch::kQuietMs;

// How another program writes the state: in place at the field, as `statewright-cli set` does;
// or a new file renamed over the old one; or first cut short (caught mid-write), then whole.
enum class Writer { kInPlace, kRename, kCutShortFirst };

void WriteCash(const std::string& path, int cash, Writer writer) {
    Bytes bytes = ReadBytes(path);
    Patch(bytes, kCash, {static_cast<std::uint8_t>(cash), static_cast<std::uint8_t>(cash >> 8), 0});
    if (writer == Writer::kInPlace) {
        std::FILE* file = std::fopen(path.c_str(), "rb+");
        std::fseek(file, kCash, SEEK_SET);
        std::fwrite(&bytes[kCash], 1, 3, file);
        std::fclose(file);
    } else if (writer == Writer::kRename) {
        WriteBytes(path + ".new", bytes);
        std::rename((path + ".new").c_str(), path.c_str());
    } else {
        WriteBytes(path, Bytes(bytes.begin(), bytes.begin() + 100));
        QTest::qWait(kQuietWaitMs);
        WriteBytes(path, bytes);
    }
}

class OutsideChangeTest : public EditorTest {
protected:
    bool WaitForCash(const char* cash) {
        return QTest::qWaitFor(
            [&] { return Shown(Pages().stats, id::kCash) == QLatin1String(cash); }, 3000);
    }
    // The demo state, no backups, no answers: as before a new run.
    void Fresh() {
        WriteBytes(state, MakeDemoState());
        std::filesystem::remove_all(dir / "data/statewright/backups");
        prompter = {};
    }
    std::vector<BackupEntry> Backups() const {
        return ListBackups(dir / "data/statewright/backups", state);
    }
    // The demo open in the window, shown and active, on this tab.
    void ShowTab(int tab) {
        Start(QString::fromStdString(state));
        ShowActive();
        window->Tabs()->setCurrentIndex(tab);
    }
    static int CashIn(const Bytes& bytes) { return bytes.at(kCash) | bytes.at(kCash + 1) << 8; }
};

TEST_F(OutsideChangeTest, WithoutEditsTheStateIsReloadedKeepingTheViewAndSaveKeepsTheNewValue) {
    for (Writer writer : {Writer::kInPlace, Writer::kRename, Writer::kCutShortFirst}) {
        SCOPED_TRACE(static_cast<int>(writer));
        Fresh();
        Bytes foreign = MakeDemoRom();
        foreign[65984] = 'X';  // asked about once, at the open, never again
        WriteBytes(rom, foreign);
        prompter.answers = {true};
        Start(QString::fromStdString(state));
        window->show();
        window->Tabs()->setCurrentIndex(3);
        Pages().flags->ShowFlag(300);
        QComboBox* members = Pages().stats->CharacterCombo();
        Choose(members, 2);
        Trigger(kSave);  // the run's backup, of the demo as it was

        WriteCash(state, 777, writer);
        const Bytes changed = ReadBytes(state);
        ASSERT_TRUE(WaitForCash("777"));
        EXPECT_EQ(Pages().flags->FlagList()->TopIndex(), 299);
        EXPECT_EQ(members->currentIndex(), 2);
        EXPECT_EQ(Shown(Pages().stats, id::kName), QStringLiteral("Tobi"));
        EXPECT_EQ(prompter.questions.size(), 1u);
        EXPECT_TRUE(prompter.messages.empty());

        // The next save writes nothing new, and backs up the other program's version first.
        Trigger(kSave);
        EXPECT_EQ(ReadBytes(state), changed);
        const std::vector<BackupEntry> made = Backups();
        ASSERT_EQ(made.size(), 2u);
        EXPECT_EQ(CashIn(ReadBytes(made[0].path)), 777);
        EXPECT_EQ(CashIn(ReadBytes(made[1].path)), 4812);
        window.reset();
    }
}

// The player types Lvl 50 and toggles flag $0006, while another program writes cash 777 and
// toggles flag $0005 (and, in some rows, Lvl 60) into the file. Nothing is reloaded over the edits;
// Save writes each field that only one side changed as that side has it, flags bit by bit, and
// asks only about a field both changed. Cancel writes nothing and keeps the edits.
TEST_F(OutsideChangeTest, SaveMergesTheEditsWithAnotherProgramsChanges) {
    struct Row {
        const char* what;
        int theirLevel;  // 0: the other program leaves the level alone
        Choice answer;
        int fileLevel;
        const char* shownLevel;
    };
    const Row rows[] = {
        {"apart: no question", 0, Choice::kCancel, 50, "50"},
        {"both changed the level: Cancel", 60, Choice::kCancel, 60, "50"},
        {"both changed the level: Keep Mine", 60, Choice::kFirst, 50, "50"},
        {"both changed the level: Take Theirs", 60, Choice::kSecond, 60, "60"},
    };
    constexpr long kFlags = 43035;  // $0005 is bit 0x10, $0006 bit 0x20 (on in the demo)
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Fresh();
        ShowTab(3);
        ui::FlagListCtrl* list = Pages().flags->FlagList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(5, 1)).center());
        QTest::keyClick(list, Qt::Key_Space);
        window->Tabs()->setCurrentIndex(0);
        Type(Pages().stats, id::kLevel, QStringLiteral("50"));

        WriteCash(state, 777, Writer::kInPlace);
        Bytes outside = ReadBytes(state);
        outside[kFlags] ^= 0x10;
        if (row.theirLevel != 0) {
            outside[kLevel0] = static_cast<std::uint8_t>(row.theirLevel);
        }
        WriteBytes(state, outside);
        QTest::qWait(kQuietWaitMs);
        EXPECT_EQ(Shown(Pages().stats, id::kCash), QStringLiteral("4812"));  // not reloaded
        EXPECT_EQ(ShownTitle(), Title("vellumgate.zs1") + QLatin1Char('*'));

        prompter.choices = {row.answer};
        Trigger(kSave);
        const bool asked = row.theirLevel != 0;
        const bool written = !asked || row.answer != Choice::kCancel;
        ASSERT_EQ(prompter.questions.size(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_THAT(prompter.questions[0],
                        ::testing::AllOf(::testing::StartsWith("vellumgate.zs1 was changed"),
                                         ::testing::HasSubstr("member0.level"),
                                         ::testing::HasSubstr("mine 50, theirs 60")));
        }
        const Bytes now = ReadBytes(state);
        EXPECT_EQ(now.at(kLevel0), row.fileLevel);
        EXPECT_EQ(CashIn(now), 777);
        EXPECT_EQ(now.at(kFlags), MakeDemoState().at(kFlags) ^ 0x10 ^ (written ? 0x20 : 0));
        if (!written) {
            EXPECT_EQ(now, outside);
        }
        // The pages show the file after a save, the untouched edits after Cancel.
        EXPECT_EQ(Shown(Pages().stats, id::kLevel), QLatin1String(row.shownLevel));
        EXPECT_EQ(Shown(Pages().stats, id::kCash), QLatin1String(written ? "777" : "4812"));
        EXPECT_EQ(window->isWindowModified(), !written);
        window.reset();
    }
}

// File > Revert asks first (No keeps the edits), then shows the file as it is on disk.
TEST_F(OutsideChangeTest, RevertPutsThePagesBackToTheFile) {
    ShowTab(0);
    Type(Pages().stats, id::kLevel, QStringLiteral("50"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->isWindowModified(); }));
    WriteCash(state, 777, Writer::kInPlace);
    const Bytes before = ReadBytes(state);
    for (bool yes : {false, true}) {
        prompter.answers = {yes};
        Trigger(ui::kRevertCommand);
        EXPECT_EQ(Shown(Pages().stats, id::kLevel), QLatin1String(yes ? "23" : "50"));
        EXPECT_EQ(Shown(Pages().stats, id::kCash), QLatin1String(yes ? "777" : "4812"));
        EXPECT_EQ(window->isWindowModified(), !yes);
    }
    EXPECT_THAT(prompter.questions,
                ::testing::Each(::testing::EndsWith("Every edit not saved is lost.")));
    EXPECT_EQ(ReadBytes(state), before);
}

TEST_F(OutsideChangeTest, AnOpenDescriptionEditHoldsTheReloadUntilItEnds) {
    ASSERT_NO_FATAL_FAILURE(ShowTab(3));
    ui::FlagListCtrl* list = Pages().flags->FlagList();
    const QRect row = list->visualRect(list->model()->index(4, 0));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(100, row.center().y()));
    QLineEdit* editor = list->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);

    WriteCash(state, 777, Writer::kInPlace);
    QTest::qWait(kQuietWaitMs);
    EXPECT_EQ(Shown(Pages().stats, id::kCash), QStringLiteral("4812"));
    QTest::keyClicks(editor, QStringLiteral(" at noon"));
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(WaitForCash("777"));
    EXPECT_THAT(ReadText(dir / "event.vellumgate.txt"), ::testing::HasSubstr("$0005: at noon\n"));
}

TEST_F(OutsideChangeTest, CompareWithShowsThePagesAgainstAnotherState) {
    Start();
    Trigger(ui::kCompareCommand);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{msg::kCompareNeedsState});

    const std::string other = dir / "other/vellumgate.zs1";
    std::filesystem::create_directories(dir / "other");
    Bytes bytes = MakeDemoState();
    Patch(bytes, kCash, {0x09, 0x03, 0x00});
    bytes[43035] |= 0x10;  // flag $0005
    WriteBytes(other, bytes);
    std::ofstream(dir / "other/event.vellumgate.txt") << "$0005:Heard the bell\n";
    WriteBytes(dir / "other/short.zs1", Bytes(bytes.begin(), bytes.begin() + 500));

    Start(QString::fromStdString(state));
    Type(Pages().stats, id::kLevel, QStringLiteral("50"));  // A is what the pages show
    dialogs.paths = {QString::fromStdString(other),
                     QString::fromStdString(dir / "other/short.zs1")};
    QString report;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ui::CompareDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        report = dialog->Report()->toPlainText();
        EXPECT_EQ(dialog->focusWidget(), dialog->Report());
        QTest::keyClick(dialog->Report(), Qt::Key_Escape);  // the keyboard closes it
    });
    Trigger(ui::kCompareCommand);
    EXPECT_EQ(report.toStdString(),
              "Fields that differ (A -> B):\n"
              "  member0.level     50 -> 23\n"
              "  money             4812 -> 777\n"
              "Flags that differ (their state in B):\n"
              "  $0005  on   Heard the bell\n");
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.Path()));
    Trigger(ui::kCompareCommand);
    EXPECT_THAT(
        prompter.messages.back(),
        ::testing::StartsWith(msg::kCannotCompare + dir / "other/short.zs1: it is too short"));
    EXPECT_EQ(ReadBytes(state), MakeDemoState());
}

// File > Restore Backup...: the open state's backups beside what each would change against the
// pages, the ROM's on a second tab; Restore asks before discarding edits, puts the backup back
// and shows it.
TEST_F(OutsideChangeTest, RestoreBackupShowsWhatChangesAndPutsTheBackupBack) {
    Start();
    Trigger(ui::kRestoreBackupCommand);
    EXPECT_EQ(prompter.messages, std::vector<std::string>{msg::kRestoreNeedsState});

    ShowTab(0);
    Type(Pages().stats, id::kLevel, QStringLiteral("30"));
    Trigger(kSave);  // backs up the demo as it was
    const Bytes saved = ReadBytes(state);
    Type(Pages().stats, id::kLevel, QStringLiteral("45"));
    for (bool yes : {false, true}) {
        prompter.answers = {yes};
        QString changes, romList;
        bool romRestorable = true;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<ui::RestoreBackupDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_EQ(dialog->Tabs()->count(), 2);
            EXPECT_EQ(dialog->List(0)->count(), 1);
            changes = dialog->Changes(0)->toPlainText();
            auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restore"));
            dialog->Tabs()->setCurrentIndex(1);
            romList = dialog->List(1)->item(0)->text();
            romRestorable = restore->isEnabled();
            dialog->Tabs()->setCurrentIndex(0);
            QTest::mouseClick(restore, Qt::LeftButton);
            if (dialog->isVisible()) {
                dialog->reject();  // No: the dialog stays open
            }
        });
        Trigger(ui::kRestoreBackupCommand);
        EXPECT_EQ(changes.toStdString(),
                  "Fields that differ (A -> B):\n"
                  "  member0.level     45 -> 23\n");
        EXPECT_EQ(romList, QStringLiteral("No backups of vellumgate.smc"));
        EXPECT_FALSE(romRestorable);
        EXPECT_EQ(ReadBytes(state), yes ? MakeDemoState() : saved);
        EXPECT_EQ(Shown(Pages().stats, id::kLevel), QLatin1String(yes ? "23" : "45"));
    }
    EXPECT_EQ(prompter.questions, std::vector<std::string>(2, msg::kRestoreDiscardsEdits));
    // The version written over was backed up first.
    const std::vector<BackupEntry> made = Backups();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(ReadBytes(made[0].path), saved);
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(OutsideChangeTest, ARenameFirstReadsTheNamesOfARomChangedOnDisk) {
    ASSERT_NO_FATAL_FAILURE(ShowTab(1));
    FileProblem problem;
    ASSERT_TRUE(WriteRomItemName(rom, 0x15, "Oak Staff", problem));  // slot 0's item
    auto* list = Control<ui::GoodsList>(Pages().goods, id::kGoodsList);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::keyClick(list, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(list->indexWidget(list->currentIndex()));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Oak Staff"));
}

}  // namespace
}  // namespace sw::test
