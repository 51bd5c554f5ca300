#include "GotoDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"

namespace sw::ui {

GotoDlg::GotoDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("178"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Goto Flag"));
    ApplyDialogFont(this);
    CreateWidgets();
}

void GotoDlg::CreateWidgets() {
    setFixedSize(DluRect(0, 0, 186, 46).size());
    AddOkCancel(this, QStringLiteral("Goto"), DluRect(129, 7, 50, 14), QStringLiteral("Cancel"),
                DluRect(129, 24, 50, 14));
    m_edit = AddEdit(this, id::kFlagNumberText, DluRect(34, 7, 91, 14));
    m_edit->setEnabled(true);
    m_edit->setText(QStringLiteral("$0000"));
    QLabel* label = AddLabel(this, QStringLiteral("Flag #"), DluRect(10, 10, 21, 8), Qt::AlignLeft);
    FitFontToWidth(label, label->text(), label->width());
    // The dialog exists to take a number: its box has the focus with the text selected, so
    // that typing replaces it and Enter (the default button, Goto) goes there.
    m_edit->selectAll();
    m_edit->setFocus();
}

void GotoDlg::accept() {
    m_flagText = m_edit->text();
    QDialog::accept();
}

}  // namespace sw::ui
