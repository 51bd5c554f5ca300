// Where the program keeps per-user files on this desktop: the data folder that stands in for
// the Windows directory (the movie copies live there), and the font the goods list may use.
#pragma once

#include <QFont>
#include <QString>
#include <optional>

namespace sw::ui {

// The per-user data folder ($XDG_DATA_HOME/statewright/, usually ~/.local/share/statewright/),
// ending in "/"; created when missing. Empty when it cannot be created.
QString UserDataFolder();

// "Orange Kid" 9 pt from "Orangeki.ttf", when that file lies in the data folder's FONTS
// subfolder or in the user's font folder; loaded once per run. The program never ships it.
std::optional<QFont> OrangeKidFont();

}  // namespace sw::ui
