#include "FindDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"

namespace sw::ui {

FindDlg::FindDlg(const QString& searchText, QWidget* parent)
    : QDialog(parent), m_searchText(searchText) {
    setObjectName(QStringLiteral("177"));
    // A small tool window with a caption, a close box and a fixed size.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Dialog"));
    ApplyDialogFont(this);
    CreateWidgets();
    ConnectWidgets();
    m_edit->setText(m_searchText);
    m_edit->selectAll();
    m_edit->setFocus();
}

void FindDlg::CreateWidgets() {
    setFixedSize(DluRect(0, 0, 220, 43).size());
    AddOkCancel(this, QStringLiteral("Find Next"), DluRect(163, 4, 50, 14), QStringLiteral("Close"),
                DluRect(163, 22, 50, 14));
    m_edit = AddEdit(this, id::kSearchText, DluRect(45, 4, 112, 12));
    m_edit->setEnabled(true);
    QLabel* label =
        AddLabel(this, QStringLiteral("Search for:"), DluRect(7, 4, 36, 8), Qt::AlignLeft);
    FitFontToWidth(label, label->text(), label->width());
    m_caseCheck = new QCheckBox(QStringLiteral("Case sensitive search"), this);
    m_caseCheck->setObjectName(IdName(id::kCaseSensitive));
    m_caseCheck->setGeometry(DluRect(45, 23, 85, 10));
    const int box = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                    style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    FitFontToWidth(m_caseCheck, m_caseCheck->text(), m_caseCheck->width() - box);
}

void FindDlg::ConnectWidgets() {
    connect(m_caseCheck, &QCheckBox::toggled, this, [this](bool on) { m_caseSensitive = on; });
}

void FindDlg::accept() {
    m_searchText = m_edit->text();
    QDialog::accept();
}

}  // namespace sw::ui
