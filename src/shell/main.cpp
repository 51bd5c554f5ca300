#include "FileIO.h"
#include "shell/EditorApp.h"

int main(int argc, char** argv) {
    sw::PrepareProcess();  // before any file is opened
    sw::ui::EditorApp app;
    return app.Run(argc, argv);
}
