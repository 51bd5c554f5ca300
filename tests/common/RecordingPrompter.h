// A prompter for tests: records every message and question, and answers questions from a
// script (No when the script has run out).
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

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;
};

}  // namespace sw::test
