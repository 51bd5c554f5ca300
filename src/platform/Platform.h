// The platform's services as the program uses them: real in the program, scripted in tests.
#pragma once

namespace sw {
class Prompter;
}

namespace sw::ui {

class DocumentOpener;
class FileDialogs;
class SoundPlayer;

struct Platform {
    Prompter& prompter;
    FileDialogs& dialogs;
    SoundPlayer& sounds;
    DocumentOpener& opener;
};

}  // namespace sw::ui
