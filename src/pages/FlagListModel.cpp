#include "FlagListModel.h"

#include "DialogTemplate.h"
#include "GameState.h"
#include "Layout.h"

namespace sw::ui {
namespace {

// Icons of the image list, in its order: warning, clear, set, greyed (the last and the first
// are part of the set but show on no row).
constexpr int kImageIcons[] = {169, 168, 167, 170};

}  // namespace

FlagListModel::FlagListModel(const DescriptionTable& descriptions, QObject* parent)
    : QAbstractTableModel(parent), m_descriptions(descriptions) {
    for (std::size_t i = 0; i < m_images.size(); ++i) {
        // The 16 x 16 icons drawn into the list's 13 x 13 pictures.
        m_images[i] =
            ResourcePicture(QStringLiteral("icon/%1").arg(kImageIcons[i]), "PNG")
                .scaled(kImageSize, kImageSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}

void FlagListModel::Reset() {
    beginResetModel();
    m_filled = true;
    m_blankRow = -1;
    endResetModel();
}

void FlagListModel::FlagChanged(int row) {
    emit dataChanged(index(row, 0), index(row, 0));
}

void FlagListModel::DescriptionsChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 1), index(rowCount() - 1, 1));
    }
}

void FlagListModel::SetBlankRow(int row) {
    const int before = m_blankRow;
    m_blankRow = row;
    for (int changed : {before, row}) {
        if (changed >= 0 && changed < rowCount()) {
            emit dataChanged(index(changed, 1), index(changed, 1));
        }
    }
}

int FlagListModel::StateImage(int row) const {
    return m_gameState != nullptr && m_gameState->GetFlag(row) != 0 ? kSetImage : kClearImage;
}

int FlagListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_filled ? 0 : layout::kFlagCount;
}

int FlagListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant FlagListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    if (index.column() == 0) {
        if (role == Qt::DisplayRole) {
            return QString::fromLatin1(FlagNumberText(row + 1));
        }
        if (role == Qt::DecorationRole) {
            return Image(StateImage(row));
        }
        return {};
    }
    if (role == Qt::DisplayRole) {
        // The description exactly as held: one read from a file keeps its line feed until the
        // file is next written.
        return row == m_blankRow
                   ? QString()
                   : QString::fromStdString(m_descriptions[static_cast<std::size_t>(row) + 1]);
    }
    return {};
}

QVariant FlagListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return section == 0 ? QStringLiteral("Flag")
                            : QStringLiteral("Description   (Right-click to edit)");
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags FlagListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    // Only the flag number is a label the list edits; its editor holds the description.
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 ? flags | Qt::ItemIsEditable : flags;
}

}  // namespace sw::ui
