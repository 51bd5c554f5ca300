#include "shell/EditorApp.h"

int main(int argc, char** argv) {
    sw::ui::EditorApp app;
    return app.Run(argc, argv);
}
