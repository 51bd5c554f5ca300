// File's list of the states opened last, kept in the program's settings file.
#pragma once

#include <QMenu>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;

namespace sw::ui {

// The program's one settings file: QSettings under the application id, in the user's
// configuration folder.
QString DefaultSettingsFile();

// The File menu: an entry whose file is gone is drawn dimmed, yet can still be chosen (and is
// then refused with the reason).
class FileMenu : public QMenu {
    Q_OBJECT
public:
    using QMenu::QMenu;
    static constexpr char kMissingProperty[] = "missing";

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};

class RecentFiles : public QObject {
    Q_OBJECT
public:
    // The entries go into `menu` before `before`, behind a separator of their own; choosing one
    // calls `open` with its path. The list is read from `settingsFile`; a file that cannot be
    // read or makes no sense gives an empty list.
    RecentFiles(QMenu* menu, QAction* before, QString settingsFile,
                std::function<void(const std::string&)> open);

    // A state was opened: it goes first, and the list is stored at once.
    void Add(const std::string& path);
    const std::vector<std::string>& Paths() const { return m_paths; }
    // The ROM image the user chose for a state in the list (File > ROM image...), empty for
    // none; it is kept with the state's entry, and forgotten when the entry leaves the list.
    std::string RomFor(const std::string& statePath) const;
    void SetRom(const std::string& statePath, const std::string& romPath);

private:
    void Load();
    void Store();
    void ForgetRomsOffTheList();
    // The entries as the list is now, each marked missing when its file is gone (looked at
    // each time the menu opens).
    void Rebuild();

    QMenu* m_menu;
    QAction* m_before;
    QAction* m_separator;
    QString m_settingsFile;
    std::function<void(const std::string&)> m_open;
    std::vector<std::string> m_paths;
    std::map<std::string, std::string> m_roms;  // by the entry's path
    std::vector<QAction*> m_entries;
};

}  // namespace sw::ui
