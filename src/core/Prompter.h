// The one way the core speaks to the user: a message with an OK button, or a Yes/No question.
// The window shows message boxes; the command line writes to stderr; tests record and script.
#pragma once

#include <string>

namespace sw {

class Prompter {
public:
    virtual ~Prompter() = default;
    // Texts are UTF-8; "\n" is a line break.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;
};

}  // namespace sw
