// Tools > Save Config, Save Config As... and Load Config...: snapshots of what the pages show,
// written to and read from configuration files (*.swr).
#pragma once

#include <string>

namespace sw {
class Prompter;
}

namespace sw::ui {

class Document;
class FileDialogs;

inline constexpr char kConfigFilter[] = "Statewright configuration files (*.swr)";

class ConfigCommands {
public:
    ConfigCommands(Document& document, FileDialogs& dialogs, Prompter& prompter);

    // To the file of the last Save Config As, or like Save Config As when there is none.
    void SaveConfig();
    void SaveConfigAs();
    // Replaces the record's values and shows them; a file the core refuses changes nothing.
    void LoadConfig();

    // The path of this run's last Save Config As that was written; empty until then.
    std::string g_configPath;

private:
    bool Write(const std::string& path);

    Document& m_document;
    FileDialogs& m_dialogs;
    Prompter& m_prompter;
};

}  // namespace sw::ui
