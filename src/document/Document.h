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
#include "document/PageTransfer.h"
#include "document/Pages.h"

namespace sw::ui {

class FileDialogs;

// What the document needs of the main window.
class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;
    virtual void SetTitle(const QString& title) = 0;
    virtual void CheckGoodsSecrets() = 0;
};

inline constexpr char kPlainTitle[] = "Vellumgate Save State Editor";
inline constexpr char kStateFilter[] = "ZSNES save states (*.zs* *.ZS*)";

class Document {
public:
    // dataFolders: where the default descriptions (event.txt) are looked for, in order.
    Document(Pages pages, Prompter& prompter, FileDialogs& dialogs, DocumentWindow& window,
             std::vector<std::string> dataFolders);

    // File > Open: a dialog, then validation and OpenStateFile.
    void OnFileOpen();
    // ValidateStateFile, then OpenStateFile if it passed (every way of opening does this).
    void OpenIfValid(const std::string& path);
    void OpenStateFile(std::string path);
    void CloseDocument();
    void SaveDocument();

    bool HasOpenFile() const { return static_cast<bool>(g_stateFile); }
    PageTransfer& Transfer() { return m_transfer; }

    GameState gameState;
    // Each file's backup before this run's first write into it (saves and item renames).
    BackupKeeper backups{DefaultBackupFolder()};
    FilePtr g_stateFile;
    std::string g_statePath;
    std::string g_romPath;

private:
    bool LoadDocument();
    void RunHiddenChecks();

    Pages m_pages;
    Prompter& m_prompter;
    FileDialogs& m_dialogs;
    DocumentWindow& m_window;
    std::vector<std::string> m_dataFolders;
    PageTransfer m_transfer;
};

}  // namespace sw::ui
