#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace sw::ui {

QString QtFileDialogs::GetOpenFileName(const QString& filter) {
    return QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
}

QString QtFileDialogs::GetSaveFileName(const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(nullptr, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void ChangeToFolderOf(const QString& path) {
    QDir::setCurrent(QFileInfo(path).absolutePath());
}

}  // namespace sw::ui
