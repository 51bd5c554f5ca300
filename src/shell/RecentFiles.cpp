#include "RecentFiles.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "PathRules.h"

namespace sw::ui {
namespace {

constexpr char kListKey[] = "recentFiles";
constexpr char kPathKey[] = "path";
constexpr char kRomKey[] = "rom";
constexpr qint64 kMostSettingsBytes = 1 << 20;

// QSettings opens whatever stands at the path and reads it whole: a named pipe there would
// hang the start, a huge file slow it. Only a regular file of a sensible size (or none yet)
// is read or written.
bool UsableSettingsFile(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() <= kMostSettingsBytes);
}

}  // namespace

QString DefaultSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/" STATEWRIGHT_APP_ID ".conf");
}

void FileMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    if (action->property(kMissingProperty).toBool()) {
        // The colours of a disabled entry, while it stays enabled and can be chosen.
        for (const QPalette::ColorRole role :
             {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
            const QColor dim = option->palette.color(QPalette::Disabled, role);
            option->palette.setColor(QPalette::Active, role, dim);
            option->palette.setColor(QPalette::Inactive, role, dim);
        }
    }
}

RecentFiles::RecentFiles(QMenu* menu, QAction* before, QString settingsFile,
                         std::function<void(const std::string&)> open)
    : QObject(menu),
      m_menu(menu),
      m_before(before),
      m_separator(new QAction(menu)),
      m_settingsFile(std::move(settingsFile)),
      m_open(std::move(open)) {
    m_separator->setSeparator(true);
    m_menu->insertAction(m_before, m_separator);
    connect(m_menu, &QMenu::aboutToShow, this, &RecentFiles::Rebuild);
    Load();
    Rebuild();
}

void RecentFiles::Add(const std::string& path) {
    std::vector<std::string> paths = WithRecentFile(m_paths, path);
    if (paths == m_paths) {
        return;  // the state opened last, again: nothing to write
    }
    m_paths = std::move(paths);
    Store();
    Rebuild();
}

std::string RecentFiles::RomFor(const std::string& statePath) const {
    const auto found = m_roms.find(RecentFilePath(statePath));
    return found == m_roms.end() ? std::string() : found->second;
}

void RecentFiles::SetRom(const std::string& statePath, const std::string& romPath) {
    const std::string key = RecentFilePath(statePath);
    if (std::find(m_paths.begin(), m_paths.end(), key) == m_paths.end()) {
        return;  // a state not in the list keeps no choice
    }
    if (romPath.empty()) {
        m_roms.erase(key);
    } else {
        m_roms[key] = RecentFilePath(romPath);
    }
    Store();
}

void RecentFiles::Load() {
    // Paths are kept as their bytes: a file name need not be valid UTF-8.
    if (!UsableSettingsFile(m_settingsFile)) {
        m_paths.clear();
        return;
    }
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    std::vector<std::string> stored;
    if (settings.status() == QSettings::NoError) {
        const int count = settings.beginReadArray(QLatin1String(kListKey));
        for (int k = 0; k < count && k < 64; ++k) {
            settings.setArrayIndex(k);
            stored.push_back(settings.value(QLatin1String(kPathKey)).toByteArray().toStdString());
            const std::string rom =
                settings.value(QLatin1String(kRomKey)).toByteArray().toStdString();
            if (!rom.empty() && m_roms.find(stored.back()) == m_roms.end()) {
                m_roms[stored.back()] = rom;
            }
        }
        settings.endArray();
    }
    m_paths = CleanRecentFiles(stored);
}

void RecentFiles::ForgetRomsOffTheList() {
    for (auto entry = m_roms.begin(); entry != m_roms.end();) {
        entry = std::find(m_paths.begin(), m_paths.end(), entry->first) == m_paths.end()
                    ? m_roms.erase(entry)
                    : std::next(entry);
    }
}

void RecentFiles::Store() {
    ForgetRomsOffTheList();
    // Only this list is written; a file that cannot be written leaves the list for this run.
    if (!UsableSettingsFile(m_settingsFile)) {
        return;
    }
    QSettings settings(m_settingsFile, QSettings::IniFormat);
    settings.remove(QLatin1String(kListKey));
    settings.beginWriteArray(QLatin1String(kListKey), static_cast<int>(m_paths.size()));
    for (std::size_t k = 0; k < m_paths.size(); ++k) {
        settings.setArrayIndex(static_cast<int>(k));
        settings.setValue(QLatin1String(kPathKey), QByteArray::fromStdString(m_paths[k]));
        if (const std::string rom = RomFor(m_paths[k]); !rom.empty()) {
            settings.setValue(QLatin1String(kRomKey), QByteArray::fromStdString(rom));
        }
    }
    settings.endArray();
}

void RecentFiles::Rebuild() {
    // The entries are made once and only changed: one of them may be the action being
    // triggered when a state it opened comes to the top.
    while (m_entries.size() < kRecentFileCount) {
        auto* entry = new QAction(m_menu);
        entry->setObjectName(QStringLiteral("recent%1").arg(m_entries.size() + 1));
        connect(entry, &QAction::triggered, this, [this, entry] {
            const std::string path = entry->data().toByteArray().toStdString();
            m_open(path);
        });
        m_menu->insertAction(m_before, entry);
        m_entries.push_back(entry);
    }
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        QAction* entry = m_entries[k];
        entry->setVisible(k < m_paths.size());
        if (k < m_paths.size()) {
            const QByteArray path = QByteArray::fromStdString(m_paths[k]);
            entry->setText(QString::fromStdString(RecentFileMenuText(k, m_paths[k])));
            entry->setData(path);
            entry->setProperty(FileMenu::kMissingProperty,
                               !QFileInfo::exists(QFile::decodeName(path)));
        }
    }
    m_separator->setVisible(!m_paths.empty());
}

}  // namespace sw::ui
