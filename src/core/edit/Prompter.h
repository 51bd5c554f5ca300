// The one way the core speaks to the user: a message with an OK button, a Yes/No question, or a
// choice between two ways on and Cancel.
// The window shows message boxes; the command line writes to stderr; tests record and script.
#pragma once

#include <string>

namespace sw {

// The answer to AskChoice: one of its two ways on, or Cancel.
enum class Choice { kFirst, kSecond, kCancel };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Texts are UTF-8; "\n" is a line break.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;
    // Two ways on, named by their button texts ("&" marks the key), and Cancel. Cancel is the
    // default, and Escape or closing the box answers it too: a reflex never takes a way on.
    virtual Choice AskChoice(const std::string& text, const std::string& first,
                             const std::string& second) = 0;
};

}  // namespace sw
