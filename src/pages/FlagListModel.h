// The Event Flags list's rows, read straight from the program's GameState and the page's
// description table: column 0 the flag number with its state picture, column 1 the
// description. Nothing is copied, so filling the list is a reset, not 1024 new items.
#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <array>

#include "FlagDescriptions.h"

namespace sw {
class GameState;
}

namespace sw::ui {

class FlagListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The state pictures in image-list order; rows use kClearImage and kSetImage.
    static constexpr int kClearImage = 1;
    static constexpr int kSetImage = 2;
    static constexpr int kImageSize = 13;

    explicit FlagListModel(const DescriptionTable& descriptions, QObject* parent);

    // Null until the window hands over the program's record; the rows read it at every use.
    void SetGameState(const GameState* state) { m_gameState = state; }

    // Empty until the first reset; 1024 rows from then on.
    void Reset();
    // Row r again after its flag was toggled (number cell and picture).
    void FlagChanged(int row);
    // Every description cell again, after the table was read anew.
    void DescriptionsChanged();
    // The row whose description cell is blank while its description is being edited (-1 none);
    // setting it (or -1 again) shows the cells anew.
    void SetBlankRow(int row);
    int BlankRow() const { return m_blankRow; }

    // The state picture of a row: kSetImage when its flag is set, kClearImage otherwise.
    int StateImage(int row) const;
    const QPixmap& Image(int index) const { return m_images.at(static_cast<std::size_t>(index)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const DescriptionTable& m_descriptions;
    const GameState* m_gameState = nullptr;
    std::array<QPixmap, 4> m_images;
    bool m_filled = false;
    int m_blankRow = -1;
};

}  // namespace sw::ui
