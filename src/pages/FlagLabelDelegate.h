// Draws and edits the Event Flags list's cells: texts on one line (a description read from a
// file still ends in its line feed), elided when too wide, and the label editor over the flag
// number, which takes a description of any length and reports its text when it closes,
// confirmed or cancelled.
#pragma once

#include <QStyledItemDelegate>

class QLineEdit;

namespace sw::ui {

class FlagLabelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override;
    // A flag number is never elided: its column is made wide enough for every number.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    // The editor's text is set once, when it opens: a repaint of its row must not undo typing.
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // The text is taken when the editor closes (see editEnded), never written into the model.
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    // A description cut short with "..." in its cell shows whole in the tooltip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

signals:
    // The list opened a label editor on this row; the receiver fills it (directly connected).
    void editBegun(int row, QLineEdit* editor) const;
    // The editor is closing, by Enter, Escape or losing the focus; this is its text.
    void editEnded(const QString& text) const;
};

}  // namespace sw::ui
