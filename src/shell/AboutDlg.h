// The about box: the program's banner and picture, and the about text in an edit box.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace sw::ui {

class AboutDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the first 2,160 characters of the about text (up to a zero byte, if any).
    AboutDlg(const std::string& aboutText, QWidget* parent);

    QPlainTextEdit* m_aboutEdit = nullptr;
};

}  // namespace sw::ui
