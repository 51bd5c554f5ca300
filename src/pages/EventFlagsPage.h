// The Event Flags page. This version keeps the flag descriptions of the open document and its
// reference to the program's GameState; the flag list builds on these.
#pragma once

#include <QWidget>
#include <string>

#include "FlagDescriptions.h"

namespace sw {
class GameState;
class Prompter;
}  // namespace sw

namespace sw::ui {

class EventFlagsPage : public QWidget {
    Q_OBJECT
public:
    EventFlagsPage(Prompter& prompter, QWidget* parent);

    // Loads the descriptions of the document with this base name (or the default ones).
    void LoadDescriptions(const std::string& programDir);
    void RebuildFlagList();
    void EnableFlagList(bool enable);

    GameState* m_gameState = nullptr;
    DescriptionTable m_descriptions;
    std::string m_lastSearch;
    std::string m_romName;

private:
    Prompter& m_prompter;
};

}  // namespace sw::ui
