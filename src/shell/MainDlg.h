// The main window: menus, the four tabs over their pages, Save and Close, dropped files.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "DataFiles.h"
#include "document/Document.h"
#include "document/Pages.h"
#include "platform/Platform.h"
#include "shell/RecentFiles.h"

class QAction;
class QMenuBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace sw::ui {

class ConfigCommands;

inline constexpr int kRevertCommand = 32791;     // File > Revert
inline constexpr int kChooseRomCommand = 32793;  // File > ROM image...

class MainDlg : public QDialog, public DocumentWindow {
    Q_OBJECT
public:
    // dataFolders: where the program's data files are looked for, in order (DataSearchFolders);
    // a non-empty commandLineFile is opened at once.
    // settingsFile keeps the list of states opened last.
    MainDlg(QString commandLineFile, Platform platform, std::vector<std::string> dataFolders,
            QString settingsFile = DefaultSettingsFile(), QWidget* parent = nullptr);
    ~MainDlg() override;

    void SetTitle(const QString& title) override;
    void ShowUnsavedMark(bool unsaved) override;
    void CheckGoodsSecrets() override;
    void StateOpened(const std::string& path) override;
    std::string RomChosenFor(const std::string& statePath) override;
    void RomChosen(const std::string& statePath, const std::string& romPath) override;

    // Shows the page of the tab now selected, hides the others, carries the focus over
    // between the two character lists.
    void OnTabSelChange();
    // Several files get a complaint; one is opened like File > Open.
    void OnDropFiles(const QStringList& paths);

    // Tools and Help commands.
    void SaveConfig();
    void SaveConfigAs();
    void LoadConfig();
    void OnEditEventDescriptions();
    void OnHelpReadme();
    void OnHelpWhatsNew();
    void OnAbout();

    Document& Doc() { return *m_document; }
    ConfigCommands& Config() { return *m_config; }
    Pages PageSet() const { return m_pages; }
    QTabWidget* Tabs() const { return m_tab; }
    QWidget* g_currentPage = nullptr;
    int g_dropComplaintIndex = 0;
    std::string g_aboutText;  // read once at start-up

    // Closing (Close, File > Exit, the close box, Alt+F4) first ends open edits on the pages,
    // so that their text reaches the ROM or the description file.
    void done(int result) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Escape does not close the window: one reflex press would lose every unsaved edit.
    void keyPressEvent(QKeyEvent* event) override;
    // Files dragged over any control of the window go to the window's own drop handler.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateWidgets();
    void OnInitDialog();
    void LoadAboutText();
    void ExtractMovieFiles();
    // Opens one of the program's documents with the desktop's program for it.
    void OpenProgramDocument(const DataFile& file);
    // Edits on the pages have the mark looked at again once the events of the moment are done:
    // one look for a list rebuilt row by row.
    void WatchEdits();

    QString m_commandLineFile;
    Platform m_platform;
    std::vector<std::string> m_dataFolders;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    QTabWidget* m_tab = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QAction* m_revert = nullptr;
    QAction* m_chooseRom = nullptr;
    QString m_settingsFile;
    RecentFiles* m_recent = nullptr;
    QTimer* m_markTimer = nullptr;
    Pages m_pages{};
    std::unique_ptr<Document> m_document;
    std::unique_ptr<ConfigCommands> m_config;
};

}  // namespace sw::ui
