// Tools > Compare with...: the open state, as the pages show it, against another save state
// chosen in the open dialog. The differences are those `statewright-cli diff` prints: the
// fields with both values, and the flags with their state in the other file and their
// descriptions, shown in a read-only dialog.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace sw {
class Prompter;
}

namespace sw::ui {

class Document;
class FileDialogs;

inline constexpr int kCompareCommand = 32790;  // Tools > Compare with...

class CompareDlg : public QDialog {
    Q_OBJECT
public:
    CompareDlg(const QString& heading, const QString& report, QWidget* parent);
    QPlainTextEdit* Report() const { return m_report; }

private:
    QPlainTextEdit* m_report = nullptr;
};

// The command: asks for the other state, compares, shows the dialog. The working folder stays
// where it is, since the open document's descriptions are written there.
void CompareWithOtherState(Document& document, FileDialogs& dialogs, Prompter& prompter,
                           QWidget* parent);

}  // namespace sw::ui
