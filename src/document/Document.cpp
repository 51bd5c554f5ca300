#include "Document.h"

#include <QFile>
#include <cerrno>

#include "DataFiles.h"
#include "Messages.h"
#include "PathRules.h"
#include "StateCheck.h"
#include "pages/EventFlagsPage.h"
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
    ChangeToFolderOf(path);
    OpenIfValid(QFile::encodeName(path).toStdString());
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
    const int rom = CheckRom(g_statePath, g_romPath, m_prompter);
    if (rom != kRomDeclined) {
        if (rom == kRomAccepted) {
            m_pages.goods->ReadItemNamesFromRom(g_romPath);
        }
        FileProblem problem;
        g_stateFile = OpenExisting(path, FileAccess::kUpdate, problem);
        // The file passed validation a moment ago; if it cannot be opened again, or read,
        // there is no document rather than one without a file behind it.
        if (!g_stateFile || !LoadDocument()) {
            if (g_stateFile) {
                problem = {errno, LastErrorText()};
            }
            CloseDocument();
            m_prompter.ShowMessage(std::string(msg::kStateOpenFailed) + "\n\n" +
                                   Describe(path, problem));
            return;
        }
    }
    m_window.SetTitle(TitleFor(fileName));
}

bool Document::LoadDocument() {
    m_pages.stats->EnableControls(true);
    m_pages.goods->EnableControls(true);
    m_pages.misc->EnableControls(true);
    m_pages.flags->EnableFlagList(true);
    if (!gameState.ReadAll(g_stateFile.get())) {
        return false;
    }
    m_transfer.FillPages();
    RunHiddenChecks();
    return true;
}

void Document::CloseDocument() {
    gameState.Clear();
    m_pages.goods->m_goods.fill(0);
    if (g_stateFile) {
        Flush(g_stateFile.get());
        g_stateFile.reset();
    }
    g_statePath.clear();
    g_romPath.clear();
    m_pages.goods->m_romPath.clear();
    m_pages.stats->EnableControls(false);
    m_pages.goods->EnableControls(false);
    m_pages.misc->EnableControls(false);
    m_pages.flags->EnableFlagList(false);
    m_transfer.FillPages();
    m_window.SetTitle(QLatin1String(kPlainTitle));
}

void Document::SaveDocument() {
    m_transfer.GatherPages();
    if (g_stateFile) {
        // Nothing is written into a file deleted, cut short or made read-only meanwhile, nor
        // without a backup; a failure leaves every edit on the pages.
        const std::string failure =
            SaveStateFile(g_stateFile.get(), g_statePath, gameState, backups);
        if (!failure.empty()) {
            m_prompter.ShowMessage(failure + "\n\n" + msg::kEditsKept);
            return;
        }
    }
    m_transfer.FillStatsPage(gameState.characters[gameState.currentCharacter]);
    m_transfer.FillMoney(gameState);
    m_transfer.FillMiscTexts(gameState);
    RunHiddenChecks();
}

void Document::RunHiddenChecks() {
    m_window.CheckGoodsSecrets();
    m_pages.misc->CheckNamePhrases();
}

}  // namespace sw::ui
