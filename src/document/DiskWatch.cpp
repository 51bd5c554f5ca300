#include "DiskWatch.h"

#include <QFile>
#include <QFileInfo>

namespace sw::ui {

DiskWatch::DiskWatch(std::function<void()> onQuiet) : m_onQuiet(std::move(onQuiet)) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] { m_onQuiet(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::OnChange);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::OnChange);
}

void DiskWatch::Watch(const std::string& path) {
    m_quiet.stop();
    if (!m_watcher.files().isEmpty()) {
        m_watcher.removePaths(m_watcher.files());
    }
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_path = QFile::decodeName(path.c_str());
    if (!m_path.isEmpty()) {
        m_watcher.addPath(QFileInfo(m_path).absolutePath());
        m_watcher.addPath(m_path);
    }
}

void DiskWatch::RetryLater() {
    m_quiet.start();
}

void DiskWatch::OnChange() {
    if (m_path.isEmpty()) {
        return;
    }
    // The watch follows the file now at the path, whichever file that is.
    if (m_watcher.files().contains(m_path)) {
        m_watcher.removePath(m_path);
    }
    if (QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    m_quiet.start();  // restarted by every change: reported once the file is quiet
}

}  // namespace sw::ui
