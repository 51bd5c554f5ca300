#include "GoodsList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "Layout.h"
#include "pages/DialogTemplate.h"

namespace sw::ui {

// Opens the label editor with the page's text for the cell it opens on (the full name, where
// the label may show it shortened) and never writes the typed text into the label: the page
// renames the item.
class LabelDelegate : public QStyledItemDelegate {
public:
    explicit LabelDelegate(GoodsList* list) : QStyledItemDelegate(list), m_list(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const std::optional<QString> text =
            m_list->renameText ? m_list->renameText(index.row()) : std::nullopt;
        if (!text) {
            return nullptr;
        }
        auto* editor =
            qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        if (editor != nullptr) {
            // A name read from the ROM may be one longer than a rename stores: it opens whole.
            const int longest = static_cast<int>(layout::kMaxItemNameLength);
            editor->setMaxLength(std::max(longest, static_cast<int>(text->size())));
            editor->setText(*text);
            m_list->m_editor = editor;
        }
        return editor;
    }
    void setEditorData(QWidget*, const QModelIndex&) const override {}
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    GoodsList* m_list;
};

namespace {

constexpr int kRows = 7;
constexpr int kColumns = 2;

GridKey GridKeyOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return GridKey::kLeft;
        case Qt::Key_Up:
            return GridKey::kUp;
        case Qt::Key_Right:
            return GridKey::kRight;
        case Qt::Key_Down:
            return GridKey::kDown;
        default:
            return GridKey::kOther;
    }
}

}  // namespace

GoodsList::GoodsList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new LabelDelegate(this));
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setMovement(QListView::Static);
    setResizeMode(QListView::Fixed);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);  // the page shortens labels itself
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);  // the frame is drawn by the bitmaps around the list

    // Near-black list, white text.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(16, 16, 16));
    colours.setColor(QPalette::Window, QColor(16, 16, 16));
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    KeepSelectionShown(this);
}

void GoodsList::SetUpGrid(int rowsHeight) {
    const QSize client = contentsRect().size();  // the viewport is sized only when shown
    const int rowHeight = std::min(rowsHeight, client.height()) / kRows;
    // Two cells of exactly half the width do not both fit a row of Qt's list; one pixel less do.
    setGridSize(QSize((client.width() - 1) / kColumns, rowHeight));
    // A font whose lines are taller than a row (large line spacing, a large desktop font) is
    // made smaller until they fit: the seventh row would otherwise be cut by the frame.
    QFont fitted = font();
    while (QFontMetrics(fitted).height() > rowHeight) {
        if (fitted.pointSizeF() > 4.0) {
            fitted.setPointSizeF(fitted.pointSizeF() - 0.25);
        } else if (fitted.pixelSize() > 6) {  // a font given in pixels
            fitted.setPixelSize(fitted.pixelSize() - 1);
        } else {
            break;
        }
    }
    if (fitted != font()) {
        setFont(fitted);
    }
}

int GoodsList::LabelWidth(const QString& label) const {
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(label) + 2 * margin;
}

void GoodsList::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit slotClicked();
    }
}

void GoodsList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit doubleClickedAnywhere();
    }
}

void GoodsList::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    emit focusLost();
}

void GoodsList::keyPressEvent(QKeyEvent* event) {
    const GridKey key = GridKeyOf(event->key());
    if (key != GridKey::kOther) {
        // The page moves the current slot by the grid's rule and the selection follows it, so
        // the highlighted cell and the slot the commands act on never part.
        event->accept();
        emit keyPressed(key);
        return;
    }
    QListWidget::keyPressEvent(event);
    emit keyPressed(key);
}

void GoodsList::EndRename() {
    if (m_editor != nullptr) {
        closeEditor(m_editor, QAbstractItemDelegate::NoHint);
    }
}

void GoodsList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint) {
    // Reported once, however many ways the same edit ends (focus loss, then a rebuild...).
    const bool open = editor != nullptr && editor == m_editor;
    const auto* line = qobject_cast<QLineEdit*>(editor);
    const QString typed = line != nullptr ? line->text() : QString();
    if (open) {
        m_editor = nullptr;
    }
    QListWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (open) {
        emit renameEnded(typed);
    }
}

}  // namespace sw::ui
