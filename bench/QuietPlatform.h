// The platform's services for the bench programs: no message, sound or dialog ever shows;
// every question is answered Yes (the first way on), every file dialog cancelled.
#pragma once

#include <QString>
#include <string>

#include "Prompter.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/SoundPlayer.h"

struct QuietPlatform : sw::Prompter,
                       sw::ui::FileDialogs,
                       sw::ui::SoundPlayer,
                       sw::ui::DocumentOpener {
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return true; }
    sw::Choice AskChoice(const std::string&, const std::string&, const std::string&) override {
        return sw::Choice::kFirst;
    }
    QString GetOpenFileName(const QString&) override { return {}; }
    QString GetSaveFileName(const QString&, const QString&) override { return {}; }
    void Play(int) override {}
    bool Open(const QString&) override { return true; }
};
