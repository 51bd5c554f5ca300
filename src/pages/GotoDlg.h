// The Goto dialog over the Event Flags list: a flag number, "$0000" at first. It serves one
// request; the page scrolls when it closes with "Goto".
#pragma once

#include <QDialog>

class QLineEdit;

namespace sw::ui {

class GotoDlg : public QDialog {
    Q_OBJECT
public:
    explicit GotoDlg(QWidget* parent);

    // "Goto" or Enter: takes the typed text and closes with OK.
    void accept() override;

    QLineEdit* NumberEdit() const { return m_edit; }

    QString m_flagText;

private:
    void CreateWidgets();

    QLineEdit* m_edit = nullptr;
};

}  // namespace sw::ui
