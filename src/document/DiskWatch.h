// Tells the document when its file has been changed on disk, by the emulator or any other
// program, once the changes have stopped for a moment. The file is watched together with its
// folder, and watched again after every change: a program that writes a new file and renames
// it over the old one leaves the old watch on a file that is no longer there.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

namespace sw::ui {

class DiskWatch : public QObject {
    Q_OBJECT
public:
    // A change is reported once the file has been quiet this long: a program writing a state
    // writes it in several steps.
    static constexpr int kQuietMs = 200;

    explicit DiskWatch(std::function<void()> onQuiet);

    // Watches this file (and its folder) from now on; an empty path watches nothing.
    void Watch(const std::string& path);
    // The report could not be acted on now (a dialog or an edit is open): again in a moment.
    void RetryLater();

private:
    void OnChange();

    std::function<void()> m_onQuiet;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QString m_path;
};

}  // namespace sw::ui
