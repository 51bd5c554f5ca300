// Start-up: the application object, the program directory, the command line, the main window.
#pragma once

#include <QString>
#include <string>

namespace sw::ui {

class EditorApp {
public:
    // Runs the program; returns the process exit code.
    int Run(int argc, char** argv);

    // The executable's folder, ending in a separator: help documents and event.txt lie here.
    std::string m_programDir;
};

// The program folder where the data files lie: beside the executable, or, for an installed
// program, <prefix>/share/statewright/ when that holds them.
std::string ProgramDirFor(const QString& executableDir);

}  // namespace sw::ui
