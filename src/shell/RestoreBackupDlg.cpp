#include "RestoreBackupDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ItemNames.h"
#include "Messages.h"
#include "PathRules.h"
#include "StateCheck.h"
#include "StateDiff.h"
#include "document/Document.h"
#include "pages/EventFlagsPage.h"
#include "pages/GoodsPage.h"

namespace sw::ui {
namespace {

// What the item names of a ROM backup would change: "code: now -> then", one a line.
std::string RomChanges(const ItemNameTable& now, const std::string& backup) {
    ItemNameTable then = now;
    FileProblem problem;
    if (!ReadRomItemNames(backup, then, problem)) {
        return Describe(backup, problem);
    }
    std::string text;
    for (int code = 0; code < layout::kItemCount; ++code) {
        if (then[code] != now[code]) {
            text += "Item " + std::to_string(code) + ": " + now[code] + " -> " + then[code] + "\n";
        }
    }
    return text.empty() ? "The item names are the same." : text;
}

}  // namespace

RestoreBackupDlg::RestoreBackupDlg(Document& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompter(prompter) {
    setObjectName(QStringLiteral("restoreBackup"));
    setWindowTitle(QStringLiteral("Restore Backup"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    m_pages.reserve(2);
    AddPage(QStringLiteral("&Save state"), document.g_statePath);
    if (!document.g_romPath.empty()) {
        AddPage(QStringLiteral("&ROM"), document.g_romPath);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* restore =
        buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    restore->setObjectName(QStringLiteral("restore"));
    restore->setAutoDefault(false);  // a reflex Enter never writes
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    connect(restore, &QPushButton::clicked, this, &RestoreBackupDlg::RestoreSelected);
    // Only a tab with a backup to put back offers Restore.
    const auto offer = [this, restore](int tab) {
        restore->setEnabled(tab >= 0 && !m_pages[tab].backups.empty());
    };
    connect(m_tabs, &QTabWidget::currentChanged, this, offer);
    offer(0);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
    m_pages[0].list->setFocus();
}

void RestoreBackupDlg::AddPage(const QString& title, const std::string& file) {
    Page page;
    page.file = file;
    page.backups = ListBackups(m_document.backups.Folder(), file);
    auto* widget = new QWidget(m_tabs);
    auto* row = new QHBoxLayout(widget);
    page.list = new QListWidget(widget);
    page.list->setObjectName(QStringLiteral("backups"));
    for (const BackupEntry& entry : page.backups) {
        page.list->addItem(QStringLiteral("%1  %2 bytes")
                               .arg(QString::fromStdString(BackupTimeText(entry.stamp)))
                               .arg(entry.size));
    }
    if (page.backups.empty()) {
        page.list->addItem(
            QStringLiteral("No backups of %1").arg(QFile::decodeName(StateFileName(file).c_str())));
        page.list->setEnabled(false);
    }
    page.changes = new QPlainTextEdit(widget);
    page.changes->setObjectName(QStringLiteral("changes"));
    page.changes->setReadOnly(true);
    page.changes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    page.changes->setLineWrapMode(QPlainTextEdit::NoWrap);
    page.changes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    row->addWidget(page.list, 2);
    row->addWidget(page.changes, 3);
    const int tab = static_cast<int>(m_pages.size());
    m_pages.push_back(page);
    m_tabs->addTab(widget, title);
    connect(page.list, &QListWidget::currentRowChanged, this, [this, tab] { ShowChanges(tab); });
    if (!page.backups.empty()) {
        page.list->setCurrentRow(0);
    }
}

void RestoreBackupDlg::ShowChanges(int tab) {
    const Page& page = m_pages[tab];
    const int row = page.list->currentRow();
    if (row < 0 || row >= static_cast<int>(page.backups.size())) {
        page.changes->clear();
        return;
    }
    const std::string& backup = page.backups[row].path;
    std::string text;
    if (tab == 1) {
        text = RomChanges(m_document.PageSet().goods->m_itemNames, backup);
    } else {
        // Against the state as the pages show it, unsaved edits included.
        std::string bytes;
        FileProblem problem;
        GameState then;
        then.NumberMembers();
        GameState shown = m_document.gameState;
        m_document.Transfer().GatherInto(shown);
        text = ReadStateBytes(backup, bytes, problem) && then.ReadAll(bytes)
                   ? DifferencesText(
                         CompareStates(shown, then, &m_document.PageSet().flags->m_descriptions),
                         nullptr)
                   : Describe(backup, problem);
    }
    page.changes->setPlainText(QString::fromStdString(text));
}

void RestoreBackupDlg::RestoreSelected() {
    const int tab = m_tabs->currentIndex();
    const Page& page = m_pages[tab];
    const int row = page.list->currentRow();
    if (row < 0 || row >= static_cast<int>(page.backups.size())) {
        return;
    }
    if (tab == 0 && m_document.HasUnsavedEdits() &&
        !m_prompter.AskYesNo(msg::kRestoreDiscardsEdits)) {
        return;
    }
    FileProblem problem;
    if (!RestoreBackup(m_document.backups.Folder(), true, page.backups[row].path, page.file,
                       problem)) {
        m_prompter.ShowMessage(msg::kRestoreFailed + problem.reason);
        return;
    }
    // The file now holds the backup; the next write backs up this version again.
    m_document.backups.Forget(page.file);
    if (tab == 0) {
        m_document.ReloadFromDisk();
    } else {
        m_document.PageSet().goods->ReadNamesAgain();
    }
    accept();
}

void RestoreBackupOfOpenState(Document& document, Prompter& prompter, QWidget* parent) {
    if (!document.HasOpenFile()) {
        prompter.ShowMessage(msg::kRestoreNeedsState);
        return;
    }
    RestoreBackupDlg dialog(document, prompter, parent);
    dialog.exec();
}

}  // namespace sw::ui
