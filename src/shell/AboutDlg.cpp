#include "AboutDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "AboutText.h"
#include "pages/DialogTemplate.h"
#include "pages/GameTextShown.h"
#include "pages/StaticBitmap.h"

namespace sw::ui {
AboutDlg::AboutDlg(const std::string& aboutText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("About Statewright"));
    ApplyDialogFont(this);
    setFixedSize(DluRect(0, 0, 255, 194).size());
    // Both pictures take their bitmaps' own sizes; the second lies under the text and button.
    new StaticBitmap(this, 130, DluRect(0, 0, 275, 40).topLeft());
    new StaticBitmap(this, 131, DluRect(0, 40, 20, 20).topLeft());

    auto* ok = AddButton(this, 1, QStringLiteral("I Worship Parsnip"), DluRect(132, 175, 94, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_aboutEdit = new QPlainTextEdit(this);
    m_aboutEdit->setObjectName(QStringLiteral("1001"));
    m_aboutEdit->setGeometry(DluRect(9, 53, 217, 117));
    m_aboutEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    KeepSelectionShown(m_aboutEdit);

    const std::string shown = aboutText.substr(0, aboutText.find('\0')).substr(0, kAboutTextShown);
    m_aboutEdit->setPlainText(ShownTextBlock(shown));
    setTabOrder(ok, m_aboutEdit);
}

}  // namespace sw::ui
