// File > Restore Backup...: the open state's backups (and its ROM's, on a second tab), newest
// first with their times; beside the one selected, what putting it back would change, as
// Tools > Compare shows it. Restore puts it back through the same checks as
// `statewright-cli restore`, then the window reads the file again.
#pragma once

#include <QDialog>
#include <vector>

#include "Backups.h"

class QListWidget;
class QPlainTextEdit;
class QTabWidget;

namespace sw {
class Prompter;
}

namespace sw::ui {

class Document;

inline constexpr int kRestoreBackupCommand = 32792;  // File > Restore Backup...

class RestoreBackupDlg : public QDialog {
    Q_OBJECT
public:
    RestoreBackupDlg(Document& document, Prompter& prompter, QWidget* parent);

    QTabWidget* Tabs() const { return m_tabs; }
    QListWidget* List(int tab) const { return m_pages[tab].list; }
    QPlainTextEdit* Changes(int tab) const { return m_pages[tab].changes; }

private:
    struct Page {
        std::string file;  // the state or the ROM
        std::vector<BackupEntry> backups;
        QListWidget* list = nullptr;
        QPlainTextEdit* changes = nullptr;
    };
    void AddPage(const QString& title, const std::string& file);
    void ShowChanges(int tab);
    void RestoreSelected();

    Document& m_document;
    Prompter& m_prompter;
    QTabWidget* m_tabs = nullptr;
    std::vector<Page> m_pages;
};

// The command: without an open state, a message; otherwise the dialog.
void RestoreBackupOfOpenState(Document& document, Prompter& prompter, QWidget* parent);

}  // namespace sw::ui
