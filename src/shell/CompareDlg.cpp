#include "CompareDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Messages.h"
#include "PathRules.h"
#include "StateCheck.h"
#include "StateDiff.h"
#include "document/Document.h"
#include "pages/EventFlagsPage.h"
#include "platform/FileDialogs.h"

namespace sw::ui {

CompareDlg::CompareDlg(const QString& heading, const QString& report, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("compare"));
    setWindowTitle(QStringLiteral("Compare with"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(heading, this);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);

    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setReadOnly(true);
    // Read-only, yet the keyboard still moves through it and copies from it.
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_report->setPlainText(report);
    label->setBuddy(m_report);
    layout->addWidget(m_report);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 400);
    m_report->setFocus();
}

void CompareWithOtherState(Document& document, FileDialogs& dialogs, Prompter& prompter,
                           QWidget* parent) {
    if (!document.HasOpenFile()) {
        prompter.ShowMessage(msg::kCompareNeedsState);
        return;
    }
    const QString chosen = dialogs.GetOpenFileName(QLatin1String(kStateFilter));
    if (chosen.isEmpty()) {
        return;
    }
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::string bytes;
    FileProblem problem;
    GameState other;
    other.NumberMembers();
    if (!ReadStateBytes(path, bytes, problem) || !other.ReadAll(bytes)) {
        prompter.ShowMessage(msg::kCannotCompare + Describe(path, problem));
        return;
    }
    // The open state as a save would write it, unsaved edits included.
    GameState shown = document.gameState;
    document.Transfer().GatherInto(shown);
    // The other state's own descriptions beside it, else the ones the flag list shows.
    DescriptionTable descriptions;
    const std::string own = FolderOf(path) + DescriptionFileName(StateBaseName(path));
    if (!ReadDescriptionFile(own, descriptions, problem)) {
        descriptions = document.PageSet().flags->m_descriptions;
    }
    const QString heading =
        QStringLiteral("A is %1 as the pages show it, unsaved edits included.\nB is %2.")
            .arg(QFile::decodeName(StateFileName(document.g_statePath).c_str()), chosen);
    CompareDlg dialog(heading,
                      QString::fromStdString(
                          DifferencesText(CompareStates(shown, other, &descriptions), nullptr)),
                      parent);
    dialog.exec();
}

}  // namespace sw::ui
