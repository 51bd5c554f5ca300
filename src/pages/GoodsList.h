// The goods grid: a list of 14 labels in two columns and seven rows, white on near-black.
// It reports what the page acts on (clicks, focus loss, keys, double clicks) and lets the page
// decide a rename: the label editor opens with the text the page gives for its cell and,
// however editing ends, hands the typed text back without changing the label itself.
#pragma once

#include <QListWidget>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "GoodsCommands.h"

class QLineEdit;

namespace sw::ui {

class GoodsList : public QListWidget {
    Q_OBJECT
public:
    explicit GoodsList(QWidget* parent);

    // Lays the 14 cells out in the grid over the list's top `rowsHeight` pixels (what the
    // frame below leaves in view), with a font whose lines fit its rows; call after the
    // geometry is set.
    void SetUpGrid(int rowsHeight);
    // Asked when a label editor is about to open on a slot: its text, or nothing to refuse.
    std::function<std::optional<QString>(int slot)> renameText;
    // Closes an open label editor now; it reports its text as any ending does.
    void EndRename();
    // The widest label the grid shows whole, measured as the list draws it.
    int LabelWidth(const QString& label) const;

signals:
    void slotClicked();  // a left click anywhere in the list, after it moved its selection
    void focusLost();
    void keyPressed(GridKey key);  // every key; arrow keys move the current slot
    void doubleClickedAnywhere();
    void renameEnded(const QString& typed);  // confirmed or cancelled alike

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class LabelDelegate;
    QPointer<QLineEdit> m_editor;
};

}  // namespace sw::ui
