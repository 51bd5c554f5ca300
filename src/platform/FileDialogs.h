// The open- and save-file dialogs, behind a seam so that tests can script them.
#pragma once

#include <QString>

namespace sw::ui {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path of an existing file, or empty when cancelled.
    virtual QString GetOpenFileName(const QString& filter) = 0;
    // The chosen path (defaultSuffix added when the name has none), or empty when cancelled.
    virtual QString GetSaveFileName(const QString& filter, const QString& defaultSuffix) = 0;
};

class QtFileDialogs : public FileDialogs {
public:
    QString GetOpenFileName(const QString& filter) override;
    QString GetSaveFileName(const QString& filter, const QString& defaultSuffix) override;
};

// Confirming a file dialog makes the chosen file's folder the working directory, where the
// document's own description file and the next configuration files lie.
void ChangeToFolderOf(const QString& path);

}  // namespace sw::ui
