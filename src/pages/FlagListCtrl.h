// The Event Flags list: a report view of the flag model whose state-picture strip toggles
// flags. A left click or double click left of x = 16 asks for a toggle of the row under it
// and does nothing else (no selection, no focus; every click counts); further right the view
// behaves as usual. A right click anywhere on a row edits that row's description. The list
// keeps the selection mark that Find starts from and that description editing works on.
#pragma once

#include <QPointer>
#include <QTreeView>

class QLineEdit;

namespace sw::ui {

class FlagLabelDelegate;

class FlagListCtrl : public QTreeView {
    Q_OBJECT
public:
    // Client x below which a click lands on the state pictures.
    static constexpr int kStripWidth = 16;

    explicit FlagListCtrl(QWidget* parent);
    using QTreeView::edit;

    // -1 at first; moved by the user's selection (mouse or keyboard), by a right-click edit
    // and by SetSelectionMark (ShowFlag). Clicks in the picture strip leave it alone.
    int GetSelectionMark() const { return m_selectionMark; }
    void SetSelectionMark(int mark) { m_selectionMark = mark; }

    // The row whose bounding rectangle holds client y (any x), or -1 (below the last row).
    int RowAtY(int y) const;
    // Index of the first visible row (rows scroll one item per step).
    int TopIndex();
    // Scrolls the rows up by `rows` (down when negative), as far as the list scrolls.
    void ScrollRows(int rows);

    // Closes an open label editor now, which reports its text as any closing does.
    void EndLabelEdit();

    // Widens the Flag column to hold its widest number as drawn (picture, margins, the list's
    // font), never narrower than `least`; the list's font changing fits it again.
    void FitFlagColumn(int least);

signals:
    // Emitted synchronously from the click handler: the toggle is done when the click returns.
    void toggleRequested(int row);
    // The label editor opened while editing `row`'s label; the receiver fills it.
    void labelEditBegun(int row, QLineEdit* editor);
    void labelEditEnded(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    // True when the press was in the picture strip and has been handled as a toggle.
    bool ToggleInStrip(QMouseEvent* event);

    FlagLabelDelegate* m_delegate = nullptr;
    QPointer<QLineEdit> m_editor;
    int m_selectionMark = -1;
    int m_leastFlagWidth = 0;
    // The button went down in the strip: its moves and release are not the view's business.
    bool m_pressInStrip = false;
};

}  // namespace sw::ui
