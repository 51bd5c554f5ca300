#include "Document.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <cerrno>

#include "DataFiles.h"
#include "GameText.h"
#include "Messages.h"
#include "PathRules.h"
#include "StateCheck.h"
#include "StateDiff.h"
#include "pages/EventFlagsPage.h"
#include "pages/FlagListCtrl.h"
#include "pages/GoodsPage.h"
#include "pages/MiscPage.h"
#include "pages/StatsPage.h"
#include "platform/FileDialogs.h"

namespace sw::ui {
namespace {

QString TitleFor(const std::string& fileName) {
    return QStringLiteral("%1 - %2").arg(QLatin1String(kPlainTitle),
                                         QFile::decodeName(fileName.c_str()));
}

// Whether the hidden checks would see anything new: they look at the names and the goods.
bool SameCheckInputs(const GameState& a, const GameState& b) {
    for (int k = 0; k < layout::kMemberCount; ++k) {
        if (TextOf(a.characters[k].name) != TextOf(b.characters[k].name) ||
            a.characters[k].goods != b.characters[k].goods) {
            return false;
        }
    }
    return TextOf(a.playerName) == TextOf(b.playerName);
}

}  // namespace

Document::Document(Pages pages, Prompter& prompter, FileDialogs& dialogs, DocumentWindow& window,
                   std::vector<std::string> dataFolders)
    : m_pages(pages),
      m_prompter(prompter),
      m_dialogs(dialogs),
      m_window(window),
      m_dataFolders(std::move(dataFolders)),
      m_transfer(gameState, pages) {}

void Document::OnFileOpen() {
    const QString path = m_dialogs.GetOpenFileName(QLatin1String(kStateFilter));
    if (path.isEmpty()) {
        return;
    }
    OpenChosen(QFile::encodeName(path).toStdString());
}

void Document::OpenChosen(const std::string& path) {
    ChangeToFolderOf(QFile::decodeName(QByteArray::fromStdString(path)));
    OpenIfValid(path);
}

void Document::OpenIfValid(const std::string& path) {
    if (ValidateStateFile(path, m_prompter)) {
        OpenStateFile(path);
    }
}

void Document::OpenStateFile(std::string path) {
    const std::string fileName = StateFileName(path);
    m_pages.flags->m_romName = StateBaseName(path);
    // The first folder that holds event.txt; with none, one where it is missing, so that the
    // loader's own messages tell the user.
    std::string defaultFolder = FolderOfDataFile(m_dataFolders, kDefaultDescriptionsFile);
    if (defaultFolder.empty() && !m_dataFolders.empty()) {
        defaultFolder = m_dataFolders.front();
    }
    m_pages.flags->LoadDescriptions(defaultFolder);
    CloseDocument();
    g_statePath = path;
    m_chosenRom = m_window.RomChosenFor(path);
    const int rom = CheckRomOfState(g_romPath);
    if (rom != kRomDeclined) {
        if (rom == kRomAccepted) {
            m_pages.goods->ReadItemNamesFromRom(g_romPath);
        }
        FileProblem problem;
        m_identity = IdentityOf(path);
        g_stateFile = OpenExisting(path, FileAccess::kUpdate, problem);
        // The file passed validation a moment ago; if it cannot be opened again, or read,
        // there is no document rather than one without a file behind it.
        if (!g_stateFile || !LoadDocument(problem)) {
            CloseDocument();
            m_prompter.ShowMessage(std::string(msg::kStateOpenFailed) + "\n\n" +
                                   Describe(path, problem));
            return;
        }
    }
    m_window.SetTitle(TitleFor(fileName));
    if (HasOpenFile()) {
        m_window.StateOpened(path);
    }
}

bool Document::LoadDocument(FileProblem& problem) {
    m_pages.stats->EnableControls(true);
    m_pages.goods->EnableControls(true);
    m_pages.misc->EnableControls(true);
    m_pages.flags->EnableFlagList(true);
    // One read of the whole file: the record and the bytes later changes are judged by.
    std::string bytes;
    if (!ReadAllOf(g_stateFile.get(), bytes, problem)) {
        return false;
    }
    if (!gameState.ReadAll(bytes)) {
        problem = {0, "it could not be read whole"};
        return false;
    }
    m_transfer.FillPages();
    Remember(std::move(bytes));
    RunHiddenChecks();
    return true;
}

void Document::Remember(std::string bytes) {
    m_diskBytes = std::move(bytes);
    m_loadedRecord = gameState;
    m_transfer.GatherInto(m_loadedRecord);  // as the pages hold it
    m_watch.Watch(g_statePath);
    UpdateUnsavedMark();
}

bool Document::HasUnsavedEdits() const {
    GameState gathered = gameState;
    m_transfer.GatherInto(gathered);
    return !CompareStates(gathered, m_loadedRecord, nullptr).Same();
}

bool Document::ReloadMustWait() const {
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        return true;
    }
    // A label editor (a flag's description, an item's name) is open in one of the lists.
    for (QWidget* page : std::initializer_list<QWidget*>{m_pages.stats, m_pages.goods, m_pages.misc,
                                                         m_pages.flags}) {
        for (const QAbstractItemView* view : page->findChildren<QAbstractItemView*>()) {
            for (const QLineEdit* editor :
                 view->viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
                if (!editor->isHidden()) {
                    return true;
                }
            }
        }
    }
    return false;
}

void Document::OnDiskChanged() {
    if (!g_stateFile) {
        return;
    }
    if (ReloadMustWait()) {
        m_watch.RetryLater();
        return;
    }
    std::string now;
    FileProblem problem;
    // Half written, cut short, gone: what is shown stays, and the next change tries again.
    if (!ReadStateBytes(g_statePath, now, problem)) {
        return;
    }
    if (now == m_diskBytes) {
        HoldFileAtPath();  // our own save, or the same bytes written anew
        return;
    }
    backups.Forget(g_statePath);  // the next save backs up the other program's version
    if (!HasUnsavedEdits()) {
        ReloadFromDisk();
    }
}

void Document::HoldFileAtPath() {
    // Another program's new file renamed over the old one is held from now on; a link put in
    // the file's place is not followed, and the next save refuses it.
    if (!g_stateFile || IsFileAtPath(g_stateFile.get(), g_statePath) ||
        IdentityOf(g_statePath) != m_identity) {
        return;
    }
    FileProblem problem;
    if (FilePtr file = OpenExisting(g_statePath, FileAccess::kUpdate, problem)) {
        g_stateFile = std::move(file);
    }
}

int Document::CheckRomOfState(std::string& romPath) {
    m_romStamps = RomStamps();
    const int chosen =
        m_chosenRom.empty() ? kRomMissing : CheckRom(g_statePath, romPath, m_prompter, m_chosenRom);
    return chosen != kRomMissing ? chosen : CheckRom(g_statePath, romPath, m_prompter);
}

std::vector<FileStamp> Document::RomStamps() const {
    std::vector<FileStamp> stamps;
    if (!m_chosenRom.empty()) {
        stamps.push_back(StampOf(m_chosenRom));
    }
    for (const std::string& candidate : RomCandidatesFor(g_statePath)) {
        stamps.push_back(StampOf(candidate));
    }
    return stamps;
}

void Document::OnChooseRom() {
    if (!HasOpenFile()) {
        return;
    }
    const QString chosen = m_dialogs.GetOpenFileName(QLatin1String(kRomFilter));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = QFile::encodeName(chosen).toStdString();
    FileProblem problem;
    if (!OpenExisting(path, FileAccess::kRead, problem)) {
        m_prompter.ShowMessage(std::string(msg::kRomNotReadable) + Describe(path, problem));
        return;
    }
    std::string romPath;
    if (CheckRom(g_statePath, romPath, m_prompter, path) != kRomAccepted) {
        return;  // declined at the question: the ROM in use stays
    }
    m_chosenRom = path;
    m_romStamps = RomStamps();
    g_romPath = romPath;
    m_pages.goods->ReadItemNamesFromRom(g_romPath);
    m_window.RomChosen(g_statePath, path);
}

bool Document::RecheckRom() {
    std::string romPath;
    const int rom = CheckRomOfState(romPath);
    if (rom == kRomDeclined) {
        const std::string fileName = StateFileName(g_statePath);
        CloseDocument();
        m_window.SetTitle(TitleFor(fileName));  // as an open declined at the question
        return false;
    }
    g_romPath = romPath;
    if (rom == kRomAccepted) {
        m_pages.goods->ReadItemNamesFromRom(g_romPath);
    } else {
        m_pages.goods->m_romPath.clear();  // no ROM now: the names shown stay
    }
    return true;
}

bool Document::ReloadFromDisk(FileProblem* problemOut) {
    // A link put in the file's place leads to another file: that is not this document.
    if (!g_stateFile || IdentityOf(g_statePath) != m_identity) {
        return false;
    }
    FlagListCtrl* list = m_pages.flags->FlagList();
    const int top = list->TopIndex();
    if (RomStamps() != m_romStamps && !RecheckRom()) {
        return false;
    }
    FileProblem problem;
    FilePtr file = OpenExisting(g_statePath, FileAccess::kUpdate, problem);
    std::string bytes;
    GameState fresh = gameState;  // keeps the member shown
    if (!file || !ReadAllOf(file.get(), bytes, problem) || !CheckStateBytes(bytes, problem) ||
        !fresh.ReadAll(bytes)) {
        if (problemOut != nullptr) {
            *problemOut = problem;
        }
        return false;  // what is shown stays until the file is a save state again
    }
    const bool checksSeeNew = !SameCheckInputs(fresh, gameState);
    gameState = fresh;
    g_stateFile = std::move(file);
    m_transfer.FillPages();
    list->ScrollRows(top - list->TopIndex());
    Remember(std::move(bytes));
    // A silent reload plays no sound and shows no message unless the names or goods changed.
    if (checksSeeNew) {
        RunHiddenChecks();
    }
    return true;
}

void Document::CloseDocument() {
    m_watch.Watch({});
    m_diskBytes.clear();
    gameState.Clear();
    m_pages.goods->m_goods.fill(0);
    if (g_stateFile) {
        Flush(g_stateFile.get());
        g_stateFile.reset();
    }
    g_statePath.clear();
    g_romPath.clear();
    m_chosenRom.clear();
    m_pages.goods->m_romPath.clear();
    m_pages.stats->EnableControls(false);
    m_pages.goods->EnableControls(false);
    m_pages.misc->EnableControls(false);
    m_pages.flags->EnableFlagList(false);
    m_transfer.FillPages();
    m_window.SetTitle(QLatin1String(kPlainTitle));
    m_window.ShowUnsavedMark(false);
}

bool Document::MergeWithDisk(const std::string& now, GameState& merged) {
    GameState mine = gameState;
    m_transfer.GatherInto(mine);
    // As the file would hold it (a typed -1 in a two-byte field is 65,535), so that a value
    // typed differently but stored the same is no change.
    std::string image = m_diskBytes;
    if (mine.WriteAll(image)) {
        mine.ReadAll(image);
    }
    GameState theirs = m_loadedRecord;
    if (!now.empty()) {
        theirs.ReadAll(now);
    }
    std::vector<FieldDifference> conflicts;
    merged = MergeStates(m_loadedRecord, mine, theirs, MergeSide::kMine, &conflicts);
    if (conflicts.empty()) {
        return true;
    }
    const Choice choice =
        m_prompter.AskChoice(StateFileName(g_statePath) + msg::kChangedOnDisk +
                                 ConflictsText(conflicts) + msg::kChangedOnDiskChoice,
                             msg::kKeepMine, msg::kTakeTheirs);
    if (choice == Choice::kSecond) {
        merged = MergeStates(m_loadedRecord, mine, theirs, MergeSide::kTheirs, nullptr);
    }
    return choice != Choice::kCancel;
}

void Document::ShowSaved(const GameState& stored) {
    const bool flagsChanged = stored.eventFlags != gameState.eventFlags;
    gameState = stored;
    m_transfer.FillStatsPage(gameState.characters[gameState.currentCharacter]);
    m_transfer.FillMoney(gameState);
    m_transfer.FillMiscTexts(gameState);
    if (flagsChanged) {
        FlagListCtrl* list = m_pages.flags->FlagList();
        const int top = list->TopIndex();
        m_transfer.FillFlagList(gameState);
        list->ScrollRows(top - list->TopIndex());
    }
}

void Document::SaveDocument() {
    if (!g_stateFile) {
        // Nothing to write into: the pages show their values as read back.
        m_transfer.GatherPages();
        ShowSaved(gameState);
        RunHiddenChecks();
        return;
    }
    std::string now;
    FileProblem problem;
    if (!ReadStateBytes(g_statePath, now, problem)) {
        now.clear();  // the save itself says what is wrong with the file
    } else if (now != m_diskBytes) {
        backups.Forget(g_statePath);  // the backup must hold the other program's version
        // Without an edit of ours there is nothing to write over the other program's fields.
        if (KnownFieldBytes(now) != KnownFieldBytes(m_diskBytes) && !HasUnsavedEdits()) {
            ReloadFromDisk();
            return;
        }
    }
    GameState merged;
    if (!MergeWithDisk(now, merged)) {
        return;  // cancelled: nothing written, the edits stay on the pages
    }
    HoldFileAtPath();
    // Nothing is written into a file deleted, cut short or made read-only meanwhile, nor
    // without a backup; a failure leaves every edit on the pages.
    const std::string failure =
        SaveStateFile(g_stateFile.get(), g_statePath, merged, backups, &m_identity);
    if (!failure.empty()) {
        // Whatever reached the file is ours, not another program's change.
        if (!now.empty() && ReadStateBytes(g_statePath, now, problem)) {
            m_diskBytes = now;
        }
        m_prompter.ShowMessage(failure + "\n\n" + msg::kEditsKept);
        return;
    }
    // The file now holds its bytes from before the save with the record written over them;
    // the pages show what it holds, as it will be read back (cash's low three bytes).
    std::string bytes = now.empty() ? m_diskBytes : std::move(now);
    GameState stored = merged;
    if (merged.WriteAll(bytes) && stored.ReadAll(bytes)) {
        ShowSaved(stored);
        Remember(std::move(bytes));
    } else {
        ShowSaved(merged);
    }
    HoldFileAtPath();  // a compressed state is a new file at the path now
    RunHiddenChecks();
}

void Document::RevertToDisk() {
    if (!g_stateFile || !m_prompter.AskYesNo(StateFileName(g_statePath) + msg::kRevertQuestion)) {
        return;
    }
    FileProblem problem;
    if (!ReloadFromDisk(&problem) && g_stateFile) {
        m_prompter.ShowMessage(msg::kRevertFailed + Describe(g_statePath, problem));
    }
}

void Document::UpdateUnsavedMark() {
    m_window.ShowUnsavedMark(g_stateFile && HasUnsavedEdits());
}

void Document::RunHiddenChecks() {
    m_window.CheckGoodsSecrets();
    m_pages.misc->CheckNamePhrases();
}

}  // namespace sw::ui
