// Start-up: the application object, the program directory, the command line, the main window.
#pragma once

#include <string>
#include <vector>

namespace sw::ui {

class EditorApp {
public:
    // Runs the program; returns the process exit code.
    int Run(int argc, char** argv);

    // The executable's folder, ending in a separator.
    std::string m_programDir;
    // Where the data files, the help documents and event.txt are looked for, in order.
    std::vector<std::string> m_dataFolders;
};

}  // namespace sw::ui
