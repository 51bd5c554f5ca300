#include "EventFlagsPage.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "FlagSearch.h"
#include "GameState.h"
#include "Layout.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/FindDlg.h"
#include "pages/FlagListCtrl.h"
#include "pages/FlagListModel.h"
#include "pages/GameTextShown.h"
#include "pages/GotoDlg.h"

namespace sw::ui {

EventFlagsPage::EventFlagsPage(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_prompter(prompter) {
    setObjectName(QStringLiteral("148"));
    CreateWidgets();
    ConnectWidgets();
}

EventFlagsPage::~EventFlagsPage() {
    // The list goes first, while the descriptions it shows still exist; an edit still open
    // then is dropped, not written.
    m_flagList->disconnect(this);
    delete m_flagList;
}

void EventFlagsPage::CreateWidgets() {
    setGeometry(DluRect(10, 17, 300, 122));
    AddGroupBox(this, QStringLiteral("Event Flags"), DluRect(0, 0, 299, 122))
        ->setObjectName(IdName(id::kFlagsGroup));

    m_model = new FlagListModel(m_descriptions, this);
    m_flagList = new FlagListCtrl(this);
    m_flagList->setObjectName(IdName(id::kFlagList));
    m_flagList->setGeometry(DluRect(3, 12, 292, 105));
    m_flagList->setIconSize(QSize(FlagListModel::kImageSize, FlagListModel::kImageSize));
    m_flagList->setEnabled(false);

    // Flat: the buttons hide the group box's frame line behind them.
    m_find = AddFlatButton(this, id::kFind, QStringLiteral("Find"), DluRect(259, 0, 36, 12));
    m_goto = AddFlatButton(this, id::kGoto, QStringLiteral("Goto"), DluRect(224, 0, 36, 12));
}

void EventFlagsPage::ConnectWidgets() {
    // Direct: the flag is toggled before the click handler returns.
    connect(m_flagList, &FlagListCtrl::toggleRequested, this, &EventFlagsPage::ToggleFlagRow,
            Qt::DirectConnection);
    connect(m_flagList, &FlagListCtrl::labelEditBegun, this, &EventFlagsPage::OnBeginLabelEdit,
            Qt::DirectConnection);
    connect(m_flagList, &FlagListCtrl::labelEditEnded, this, &EventFlagsPage::OnEndLabelEdit,
            Qt::DirectConnection);
    connect(m_find, &QPushButton::clicked, this, &EventFlagsPage::OnFind);
    connect(m_goto, &QPushButton::clicked, this, &EventFlagsPage::OnGoto);
    // A page's shortcuts work only while the page is shown, that is while its tab is chosen.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            &EventFlagsPage::OnFind);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this), &QShortcut::activated, this,
            &EventFlagsPage::OnGoto);
}

void EventFlagsPage::LoadDescriptions(const std::string& defaultFolder) {
    // An edit still open belongs to the document whose descriptions are being replaced: it is
    // finished (and written to that document's file) first.
    m_flagList->EndLabelEdit();
    m_descriptionSource =
        sw::LoadDescriptions(m_descriptions, m_romName, defaultFolder, m_prompter);
}

void EventFlagsPage::showEvent(QShowEvent* event) {
    // The view lays out its 1024 rows whenever its model is reset, shown or not; it gets the
    // model when the page is first shown, so that start-up does not pay for a hidden list.
    if (m_flagList->model() != m_model) {
        m_flagList->setModel(m_model);
        m_flagList->FitFlagColumn(55);
        m_flagList->header()->resizeSection(1, 362);
    }
    QWidget::showEvent(event);
}

void EventFlagsPage::RebuildFlagList() {
    m_model->SetGameState(m_gameState);
    m_model->Reset();
}

void EventFlagsPage::EnableFlagList(bool enable) {
    m_flagList->setEnabled(enable);
}

void EventFlagsPage::ToggleFlagRow(int row) {
    m_gameState->ToggleFlag(row);
    m_model->FlagChanged(row);
}

void EventFlagsPage::ShowFlag(int number) {
    m_flagList->SetSelectionMark(number);
    // Row number - 1 to the top; numbers outside 1-1024 end at the nearest end of the list.
    const long long rows = static_cast<long long>(number) - m_flagList->TopIndex() - 1;
    m_flagList->ScrollRows(
        static_cast<int>(std::clamp<long long>(rows, -layout::kFlagCount, layout::kFlagCount)));
    m_flagList->setFocus(Qt::OtherFocusReason);
}

void EventFlagsPage::FindFlag(const std::string& text, bool caseSensitive) {
    m_lastSearch = text;
    const int row =
        FindFlagRow(m_descriptions, text, caseSensitive, m_flagList->GetSelectionMark());
    if (row >= 0) {
        ShowFlag(row + 1);
    }
}

void EventFlagsPage::OnFind() {
    // Descriptions are UTF-8 text, unlike game text: the search compares real characters.
    FindDlg dialog(QString::fromStdString(m_lastSearch), this);
    if (m_execDialog(dialog) == QDialog::Accepted) {
        FindFlag(dialog.m_searchText.toStdString(), dialog.m_caseSensitive);
    }
}

void EventFlagsPage::OnGoto() {
    GotoDlg dialog(this);
    if (m_execDialog(dialog) == QDialog::Accepted) {
        ShowFlag(ParseFlagNumber(TypedGameText(dialog.m_flagText)));
    }
}

void EventFlagsPage::OnBeginLabelEdit(int openedRow, QLineEdit* editor) {
    // The edit works on the row of the selection mark. A mark outside the list (none yet, or
    // left beyond the last row by Find or Goto) names no row: then the row the list opened.
    const int mark = m_flagList->GetSelectionMark();
    m_editRow = mark >= 0 && mark < layout::kFlagCount ? mark : openedRow;
    m_editRomName = m_romName;
    m_model->SetBlankRow(m_editRow);
    // Without the line feed a description read from a file still ends in: a one-line editor
    // cannot show it, and the next write of the file drops it anyway.
    QString text = QString::fromStdString(m_descriptions[static_cast<std::size_t>(m_editRow) + 1]);
    editor->setText(text.remove(QLatin1Char('\n')));
}

void EventFlagsPage::OnEndLabelEdit(const QString& text) {
    if (m_editRow < 0) {
        return;
    }
    // Confirmed or cancelled, the editor's text is the new description; what another program
    // wrote into the file meanwhile is kept, so every row may have changed.
    const auto number = static_cast<std::size_t>(m_editRow) + 1;
    m_editRow = -1;
    EditDescription(m_descriptions, number, text.toStdString(), m_editRomName, m_descriptionSource,
                    m_prompter);
    m_model->SetBlankRow(-1);
    m_model->DescriptionsChanged();
}

}  // namespace sw::ui
