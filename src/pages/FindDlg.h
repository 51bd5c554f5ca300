// The Find dialog over the Event Flags list: a search text and a case switch. It serves one
// request; the page searches when it closes with "Find Next".
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace sw::ui {

class FindDlg : public QDialog {
    Q_OBJECT
public:
    // Opens showing searchText (the last search), selected, with the check box unticked.
    FindDlg(const QString& searchText, QWidget* parent);

    // "Find Next" or Enter: takes the typed text and closes with OK.
    void accept() override;

    QLineEdit* SearchEdit() const { return m_edit; }
    QCheckBox* CaseCheck() const { return m_caseCheck; }

    QString m_searchText;
    bool m_caseSensitive = false;

private:
    void CreateWidgets();
    void ConnectWidgets();

    QLineEdit* m_edit = nullptr;
    QCheckBox* m_caseCheck = nullptr;
};

}  // namespace sw::ui
