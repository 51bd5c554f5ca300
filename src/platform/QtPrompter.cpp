#include "QtPrompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace sw::ui {

QtPrompter::QtPrompter() = default;

QString QtPrompter::Caption() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void QtPrompter::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, Caption(), QString::fromStdString(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, Caption(), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    // Every question asks whether to do something risky (open a foreign state, write over
    // another program's changes): a reflex Enter answers No.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace sw::ui
