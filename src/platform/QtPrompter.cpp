#include "QtPrompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

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

Choice QtPrompter::AskChoice(const std::string& text, const std::string& first,
                             const std::string& second) {
    QMessageBox box(QMessageBox::Question, Caption(), QString::fromStdString(text),
                    QMessageBox::NoButton, m_parent);
    QPushButton* one = box.addButton(QString::fromStdString(first), QMessageBox::AcceptRole);
    QPushButton* two = box.addButton(QString::fromStdString(second), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    // Enter, Escape and the close box all answer Cancel.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked == one ? Choice::kFirst : clicked == two ? Choice::kSecond : Choice::kCancel;
}

}  // namespace sw::ui
