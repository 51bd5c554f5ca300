#include "ConfigCommands.h"

#include <QFile>

#include "ConfigFile.h"
#include "document/Document.h"
#include "platform/FileDialogs.h"

namespace sw::ui {

ConfigCommands::ConfigCommands(Document& document, FileDialogs& dialogs, Prompter& prompter)
    : m_document(document), m_dialogs(dialogs), m_prompter(prompter) {}

void ConfigCommands::SaveConfig() {
    if (g_configPath.empty()) {
        SaveConfigAs();
    } else {
        Write(g_configPath);
    }
}

void ConfigCommands::SaveConfigAs() {
    const QString path =
        m_dialogs.GetSaveFileName(QLatin1String(kConfigFilter), QStringLiteral("swr"));
    if (path.isEmpty()) {
        return;
    }
    ChangeToFolderOf(path);
    // Remembered only once written: a refused or failed file is not offered again.
    const std::string chosen = QFile::encodeName(path).toStdString();
    if (Write(chosen)) {
        g_configPath = chosen;
    }
}

void ConfigCommands::LoadConfig() {
    const QString path = m_dialogs.GetOpenFileName(QLatin1String(kConfigFilter));
    if (path.isEmpty()) {
        return;
    }
    ChangeToFolderOf(path);
    if (ReadConfigFile(QFile::encodeName(path).toStdString(), m_document.gameState, m_prompter) ==
        ConfigRead::kLoaded) {
        m_document.Transfer().FillPages();  // the member shown stays the same
    }
}

bool ConfigCommands::Write(const std::string& path) {
    // The file holds what the pages show, including edits not yet saved to the state.
    m_document.Transfer().GatherPages();
    // Never over the state or ROM that is open: a replace question answered Yes would lose it.
    return WriteConfigFile(path, m_document.gameState, m_prompter,
                           {m_document.g_statePath, m_document.g_romPath});
}

}  // namespace sw::ui
