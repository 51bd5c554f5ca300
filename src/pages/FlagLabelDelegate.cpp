#include "FlagLabelDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <algorithm>
#include <limits>

namespace sw::ui {
namespace {

constexpr char kCellProperty[] = "cell";

// The label editor starts over the flag number and grows with its text, as far as the
// list's right edge, like the list view's own label editor.
void FitEditor(QLineEdit* editor) {
    const QRect cell = editor->property(kCellProperty).toRect();
    const int textWidth = editor->fontMetrics().horizontalAdvance(editor->text()) + 12;
    const int room = editor->parentWidget()->width() - cell.left();
    editor->setGeometry(cell.left(), cell.top(), std::max(cell.width(), std::min(textWidth, room)),
                        cell.height());
}

}  // namespace

QString FlagLabelDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    QString text = QStyledItemDelegate::displayText(value, locale);
    text.remove(QChar::LineSeparator);
    return text;
}

void FlagLabelDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == 0) {
        option->textElideMode = Qt::ElideNone;
    }
}

QWidget* FlagLabelDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    // Not the line edit's 32,767 characters: a longer description would be cut by any edit.
    editor->setMaxLength(std::numeric_limits<int>::max());
    connect(editor, &QLineEdit::textChanged, editor, [editor] { FitEditor(editor); });
    emit editBegun(index.row(), editor);
    return editor;
}

void FlagLabelDelegate::setEditorData(QWidget*, const QModelIndex&) const {}

void FlagLabelDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void FlagLabelDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
    // The label's own place, right of the state picture.
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    editor->setProperty(kCellProperty, editor->geometry());
    FitEditor(static_cast<QLineEdit*>(editor));
}

bool FlagLabelDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || index.column() != 1) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view).width();
    if (cell.fontMetrics.horizontalAdvance(cell.text) > room - 2 * margin) {
        QToolTip::showText(event->globalPos(), cell.text, view, option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

void FlagLabelDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    emit editEnded(static_cast<QLineEdit*>(editor)->text());
    QStyledItemDelegate::destroyEditor(editor, index);
}

}  // namespace sw::ui
