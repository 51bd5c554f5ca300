// A prompter for tests: records every message and question, and answers questions from a
// script (No, or Cancel, when the script has run out).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "Prompter.h"

namespace sw::test {

class RecordingPrompter : public Prompter {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    Choice AskChoice(const std::string& text, const std::string& first,
                     const std::string& second) override {
        questions.push_back(text + " [" + first + "|" + second + "]");
        if (choices.empty()) {
            return Choice::kCancel;
        }
        const Choice choice = choices.front();
        choices.pop_front();
        return choice;
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;
    std::deque<Choice> choices;
};

}  // namespace sw::test
