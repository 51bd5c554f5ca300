#include "FlagListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <vector>

#include "pages/FlagLabelDelegate.h"

namespace sw::ui {

FlagListCtrl::FlagListCtrl(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideRight);  // "...", never letters cut in half at the edge
    setWordWrap(false);
    // Editable labels: F2 or a click on the number of the selected row (right clicks too).
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    // A click in the picture strip must not take the focus, so clicks give it explicitly.
    setFocusPolicy(Qt::TabFocus);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_delegate = new FlagLabelDelegate(this);
    setItemDelegate(m_delegate);
    connect(m_delegate, &FlagLabelDelegate::editBegun, this, [this](int row, QLineEdit* editor) {
        m_editor = editor;
        emit labelEditBegun(row, editor);
    });
    connect(m_delegate, &FlagLabelDelegate::editEnded, this, [this](const QString& text) {
        m_editor = nullptr;
        emit labelEditEnded(text);
    });
}

int FlagListCtrl::RowAtY(int y) const {
    // Column 0's left edge, wherever the list is scrolled: only the height counts.
    const QModelIndex index = indexAt(QPoint(columnViewportPosition(0), y));
    return index.isValid() ? index.row() : -1;
}

int FlagListCtrl::TopIndex() {
    executeDelayedItemsLayout();
    return verticalScrollBar()->value();
}

void FlagListCtrl::ScrollRows(int rows) {
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + rows);
}

void FlagListCtrl::EndLabelEdit() {
    if (m_editor != nullptr) {
        closeEditor(m_editor, QAbstractItemDelegate::NoHint);
    }
}

bool FlagListCtrl::ToggleInStrip(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() != Qt::LeftButton || point.x() >= kStripWidth) {
        return false;
    }
    m_pressInStrip = true;
    if (const int row = RowAtY(point.y()); row >= 0) {
        emit toggleRequested(row);
    }
    event->accept();
    return true;
}

void FlagListCtrl::FitFlagColumn(int least) {
    m_leastFlagWidth = least;
    if (model() == nullptr) {
        return;
    }
    // The numbers differ only in their digits: a measure of each text picks the few rows
    // (within a pixel of the widest, as laid out text rounds) whose whole cell is asked for.
    const QFontMetricsF metrics(font());
    std::vector<qreal> widths(static_cast<std::size_t>(model()->rowCount()));
    for (std::size_t row = 0; row < widths.size(); ++row) {
        widths[row] =
            metrics.horizontalAdvance(model()->index(static_cast<int>(row), 0).data().toString());
    }
    const qreal widest = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int width = std::max(least, header()->sectionSizeHint(0));
    for (std::size_t row = 0; row < widths.size(); ++row) {
        if (widths[row] >= widest - 1) {
            const QModelIndex index = model()->index(static_cast<int>(row), 0);
            width = std::max(width, itemDelegate()->sizeHint(option, index).width());
        }
    }
    header()->resizeSection(0, width);
}

void FlagListCtrl::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitFlagColumn(m_leastFlagWidth);
    }
}

void FlagListCtrl::mousePressEvent(QMouseEvent* event) {
    m_pressInStrip = false;
    if (ToggleInStrip(event)) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
    }
    QTreeView::mousePressEvent(event);
    const int row = RowAtY(point.y());
    if (event->button() == Qt::LeftButton && indexAt(point).isValid()) {
        m_selectionMark = row;
    } else if (event->button() == Qt::RightButton && row >= 0) {
        // The row under the pointer, whatever the x: its description is edited.
        m_selectionMark = row;
        edit(model()->index(row, 0));
    }
}

void FlagListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!ToggleInStrip(event)) {
        QTreeView::mouseDoubleClickEvent(event);
    }
}

void FlagListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressInStrip) {
        QTreeView::mouseMoveEvent(event);
    }
}

void FlagListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressInStrip) {
        m_pressInStrip = false;
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void FlagListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        // As check lists do: Space ticks or clears the selected row.
        const QModelIndexList selected = selectionModel()->selectedRows();
        if (!selected.isEmpty()) {
            emit toggleRequested(selected.front().row());
        }
        return;
    }
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid()) {
        m_selectionMark = currentIndex().row();
    }
}

bool FlagListCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // The label is the flag number; F2 edits it from wherever the current cell is.
    const QModelIndex label = index.isValid() ? index.siblingAtColumn(0) : index;
    return QTreeView::edit(trigger == EditKeyPressed ? label : index, trigger, event);
}

}  // namespace sw::ui
