// The open save state: opening (validation, ROM check, load), closing and saving it, and the
// program-wide record and document globals that go with it.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "Backups.h"
#include "FileIO.h"
#include "GameState.h"
#include "Prompter.h"
#include "document/DiskWatch.h"
#include "document/PageTransfer.h"
#include "document/Pages.h"

namespace sw::ui {

class FileDialogs;

// What the document needs of the main window.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;
    virtual void SetTitle(const QString& title) = 0;
    // Whether the title carries the mark of unsaved edits.
    virtual void ShowUnsavedMark(bool unsaved) = 0;
    virtual void CheckGoodsSecrets() = 0;
    // A state was opened (the path as it was opened).
    virtual void StateOpened(const std::string& path) = 0;
    // The ROM image the user chose for a state (File > ROM image...), kept between runs;
    // empty when none was chosen.
    virtual std::string RomChosenFor(const std::string& statePath) = 0;
    virtual void RomChosen(const std::string& statePath, const std::string& romPath) = 0;
};

inline constexpr char kPlainTitle[] = "Vellumgate Save State Editor";
// The file content decides what a state is; the names are those the emulators give.
inline constexpr char kStateFilter[] =
    "Save states (*.zs* *.ZS* *.state *.state? *.state.auto *.STATE *.STATE? *.STATE.AUTO "
    "*.00? *.frz *.FRZ *.bs? *.BS?);;ZSNES save states (*.zs* *.ZS*);;"
    "RetroArch states (*.state *.state? *.state.auto);;snes9x snapshots (*.00? *.frz);;"
    "ares states (*.bs?);;All files (*)";
inline constexpr char kRomFilter[] = "ROM images (*.smc *.sfc *.SMC *.SFC);;All files (*)";

class Document {
public:
    // dataFolders: where the default descriptions (event.txt) are looked for, in order.
    Document(Pages pages, Prompter& prompter, FileDialogs& dialogs, DocumentWindow& window,
             std::vector<std::string> dataFolders);

    // File > Open: a dialog, then OpenChosen.
    void OnFileOpen();
    // A state the user chose (File > Open, File's list of states opened last): the working
    // folder becomes its folder, then OpenIfValid.
    void OpenChosen(const std::string& path);
    // ValidateStateFile, then OpenStateFile if it passed (every way of opening does this).
    void OpenIfValid(const std::string& path);
    void OpenStateFile(std::string path);
    void CloseDocument();
    // Writes what the pages changed since the last load or save into the file as it is now:
    // fields that only another program changed keep its values, and the pages then show what
    // the file holds. Where both changed a field, the user keeps theirs, takes the other
    // program's, or cancels (nothing written). With no edit, a file changed meanwhile is
    // reloaded instead.
    void SaveDocument();
    // File > Revert: after a question, the pages show the file as it is on disk.
    void RevertToDisk();
    // File > ROM image...: a ROM kept elsewhere for the open state, checked as the one beside
    // it would be; once accepted, its item names are shown and it is used for this state from
    // now on. A ROM declined or unreadable changes nothing.
    void OnChooseRom();

    // The file has changed on disk: reloaded when the pages hold no unsaved edit, no dialog
    // and no label editor is open (then again a moment later), and it is still a save state.
    void OnDiskChanged();
    // Opening the state again, keeping the member shown and the flag list's scroll position;
    // the ROM is checked (and perhaps asked about) again only when it has changed on disk.
    // False, with the reason, when the file is no save state now (what is shown stays).
    bool ReloadFromDisk(FileProblem* problem = nullptr);
    // Whether the pages hold anything a save would write that differs from the file as it was
    // loaded or last saved: typed edits, the Goods page's slots, toggled flags, a loaded
    // configuration. (Descriptions are written at once and never count.)
    bool HasUnsavedEdits() const;
    // Tells the window whether a document is open with unsaved edits.
    void UpdateUnsavedMark();

    bool HasOpenFile() const { return static_cast<bool>(g_stateFile); }
    PageTransfer& Transfer() { return m_transfer; }
    Pages PageSet() const { return m_pages; }

    GameState gameState;
    // Each file's backup before this run's first write into it (saves and item renames).
    BackupKeeper backups{DefaultBackupFolder()};
    FilePtr g_stateFile;
    std::string g_statePath;
    std::string g_romPath;

private:
    bool LoadDocument(FileProblem& problem);
    void RunHiddenChecks();
    // The file's bytes as this program last read or wrote them, and the pages' record then.
    void Remember(std::string bytes);
    bool ReloadMustWait() const;
    // The record to write: the pages' edits put together with the file's fields now (`now`,
    // empty when unreadable). False when the user cancelled at the question.
    bool MergeWithDisk(const std::string& now, GameState& merged);
    // The pages show the record, the flag list only when its flags changed.
    void ShowSaved(const GameState& stored);
    // Holds the file now at the path, when another program replaced the one held.
    void HoldFileAtPath();
    // The ROM changed on disk: checked as opening does. False when declined (no document).
    bool RecheckRom();
    // CheckRom for the open state: the ROM the user chose for it while that one is there, else
    // the one beside it. Notes the ROMs' stamps for ReloadFromDisk.
    int CheckRomOfState(std::string& romPath);
    std::vector<FileStamp> RomStamps() const;

    Pages m_pages;
    Prompter& m_prompter;
    FileDialogs& m_dialogs;
    DocumentWindow& m_window;
    std::vector<std::string> m_dataFolders;
    PageTransfer m_transfer;
    DiskWatch m_watch{[this] { OnDiskChanged(); }};
    std::string m_diskBytes;   // the whole file as last loaded or saved
    GameState m_loadedRecord;  // the pages read back right after that
    std::string m_chosenRom;   // File > ROM image... for this state, or empty
    std::vector<FileStamp> m_romStamps;  // the ROMs looked at, when they were last checked
    FileIdentity m_identity;   // where the state's path led when it was opened
};

}  // namespace sw::ui
