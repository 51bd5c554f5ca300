// The Event Flags page: the 1024 flags of the open state with their state pictures and
// descriptions. A click on a picture toggles the flag in GameState; a right click edits the
// description, which is written at once to the document's own description file; Find and Goto
// bring a flag to the top of the list.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>

#include "FlagDescriptions.h"

class QLineEdit;
class QPushButton;

namespace sw {
class GameState;
class Prompter;
}  // namespace sw

namespace sw::ui {

class FlagListCtrl;
class FlagListModel;

class EventFlagsPage : public QWidget {
    Q_OBJECT
public:
    EventFlagsPage(Prompter& prompter, QWidget* parent);
    ~EventFlagsPage() override;

    // Loads the descriptions of the document m_romName names, or the default ones from
    // event.txt in defaultFolder (ending in a separator).
    void LoadDescriptions(const std::string& defaultFolder);
    // Shows the flags of m_gameState and the descriptions anew (every fill of the pages).
    void RebuildFlagList();
    // The list only; Find and Goto stay usable without a document.
    void EnableFlagList(bool enable);

    // Toggles flag `row` in GameState and shows its new picture.
    void ToggleFlagRow(int row);
    // Marks `number` and scrolls its row (row number - 1) to the top, as far as the list goes;
    // the list gets the focus, no row is selected.
    void ShowFlag(int number);
    // Remembers the text, then brings the first matching flag from the mark on to the top.
    void FindFlag(const std::string& text, bool caseSensitive);
    // The Find and Goto buttons (and Ctrl+F, Ctrl+G while the page is shown).
    void OnFind();
    void OnGoto();

    FlagListCtrl* FlagList() const { return m_flagList; }
    FlagListModel* FlagModel() const { return m_model; }

    GameState* m_gameState = nullptr;
    DescriptionTable m_descriptions;
    // The encoding of the file the descriptions came from, and whether it may be written.
    DescriptionSource m_descriptionSource;
    std::string m_lastSearch;
    std::string m_romName;
    // Runs the Find and Goto dialogs modally; tests answer them instead.
    std::function<int(QDialog&)> m_execDialog = [](QDialog& dialog) { return dialog.exec(); };

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    void OnBeginLabelEdit(int openedRow, QLineEdit* editor);
    void OnEndLabelEdit(const QString& text);

    Prompter& m_prompter;
    FlagListModel* m_model = nullptr;
    FlagListCtrl* m_flagList = nullptr;
    QPushButton* m_find = nullptr;
    QPushButton* m_goto = nullptr;
    // The row whose description is being edited, and the document it belongs to.
    int m_editRow = -1;
    std::string m_editRomName;
};

}  // namespace sw::ui
