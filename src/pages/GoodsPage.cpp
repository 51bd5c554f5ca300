#include "GoodsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QStringListModel>
#include <utility>

#include "Messages.h"
#include "Prompter.h"
#include "StateCheck.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/FocusTracker.h"
#include "pages/GameTextShown.h"
#include "pages/GoodsList.h"
#include "pages/HotArea.h"
#include "pages/StaticBitmap.h"
#include "platform/SoundPlayer.h"
#include "platform/UserFolders.h"

namespace sw::ui {
namespace {

// The frame pieces of the goods window, in template order around the list.
QPoint At(int x, int y) {
    return DluRect(x, y, 0, 0).topLeft();
}

// Drops a combo box down as a scrolling list of its visible rows, not as a menu of all its
// entries as high as the screen. A style of the box's own, not a style sheet: a sheet's parsing
// and polish cost as much as the rest of the page.
class ListPopupStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        return hint == SH_ComboBox_Popup ? 0
                                         : QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

GoodsPage::GoodsPage(SoundPlayer& sounds, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_sounds(sounds), m_prompter(prompter) {
    setObjectName(QStringLiteral("137"));
    CreateWidgets();
    ConnectWidgets();
    RebuildItemChooser();
}

void GoodsPage::CreateWidgets() {
    setGeometry(DluRect(10, 17, 300, 122));
    AddGroupBox(this, QStringLiteral("Goods"), DluRect(0, 0, 180, 122))
        ->setObjectName(IdName(id::kGoodsGroup));
    AddLabel(this, QStringLiteral("Character:"), DluRect(3, 10, 34, 8), Qt::AlignLeft);
    m_characterCombo = AddDropDownList(this, id::kGoodsCharacter, DluRect(39, 8, 68, 55));

    auto* title = new StaticBitmap(this, 143, At(39, 24));  // title bar reading "Goods"
    title->setObjectName(IdName(id::kGoodsTitle));
    m_previous = new StaticBitmap(this, 155, At(152, 24));
    m_previous->setObjectName(IdName(id::kPreviousMember));
    m_previous->setToolTip(QStringLiteral("Previous member"));
    m_next = new StaticBitmap(this, 156, At(158, 24));
    m_next->setObjectName(IdName(id::kNextMember));
    m_next->setToolTip(QStringLiteral("Next member"));
    for (StaticBitmap* arrow : {m_previous, m_next}) {
        arrow->setEnabled(false);  // like the page's other controls, until a document is open
    }
    new StaticBitmap(this, 157, At(165, 24));
    new StaticBitmap(this, 139, At(39, 31));
    m_list = new GoodsList(this);
    m_list->setObjectName(IdName(id::kGoodsList));
    m_list->setGeometry(DluRect(43, 32, 128, 65));
    if (const std::optional<QFont> font = OrangeKidFont()) {
        m_list->setFont(*font);
    }
    new StaticBitmap(this, 144, At(170, 31));
    // The frame's bottom edge lies over the list's last pixels: the rows end above it.
    const auto* bottom = new StaticBitmap(this, 142, At(39, 93));
    m_list->SetUpGrid(bottom->y() - m_list->y());

    const auto button = [this](int controlId, const char* text, int y) {
        QPushButton* added =
            AddButton(this, controlId, QString::fromLatin1(text), DluRect(3, y, 34, 13));
        added->setEnabled(false);  // focused, it takes Enter; elsewhere Enter presses Save
        return added;
    };
    m_best = button(id::kBest, "Best", 25);
    m_alpha = button(id::kAlpha, "Alpha", 40);
    m_numeric = button(id::kNumeric, "Numeric", 53);
    m_remove = button(id::kRemove, "Remove", 68);
    m_removeAll = button(id::kRemoveAll, "Rem All", 81);
    m_add = button(id::kAdd, "Add:", 103);
    m_itemChooser = AddDropDownList(this, id::kItemChooser, DluRect(39, 103, 135, 72));
    // Rebuilt whole at start-up and at every ROM read: a plain list of texts is the cheap kind.
    m_itemChooser->setModel(new QStringListModel(m_itemChooser));
    // A scrolling list of 30 rows, not a menu of 256 entries as high as the screen.
    auto* listPopup = new ListPopupStyle;
    listPopup->setParent(m_itemChooser);
    m_itemChooser->setStyle(listPopup);
    m_itemChooser->setMaxVisibleItems(30);

    m_secretGroup = AddGroupBox(this, QString(), DluRect(184, 0, 115, 122));
    m_secretGroup->setObjectName(IdName(id::kSecretGroup));
    m_rentStatic = AddLabel(this, QStringLiteral("This space for rent"), DluRect(207, 56, 60, 8),
                            Qt::AlignLeft);
    m_rentStatic->setObjectName(IdName(id::kGoodsRentStatic));
    auto* hotArea = new HotArea(this, m_rentStatic->geometry());
    connect(hotArea, &HotArea::clicked, this, [this] { m_sounds.Play(kRentSound); });

    m_secretText = new QPlainTextEdit(this);
    m_secretText->setObjectName(IdName(id::kSecretText));
    m_secretText->setGeometry(DluRect(187, 5, 110, 115));
    m_secretText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_secretText->hide();

    // The template's keyboard order, which is not the order the controls lie in.
    QWidget* const order[] = {m_list,      m_itemChooser, m_add,  m_characterCombo, m_remove,
                              m_removeAll, m_alpha,       m_best, m_numeric,        m_secretText};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void GoodsPage::ConnectWidgets() {
    connect(m_characterCombo, &QComboBox::activated, this, [this](int index) {
        FinishRename();  // against the member it began on
        emit characterChosen(index);
    });
    new FocusTracker(m_characterCombo, &m_characterComboHasFocus);
    connect(m_previous, &StaticBitmap::clicked, this, [this] { OnStepMember(-1); });
    connect(m_next, &StaticBitmap::clicked, this, [this] { OnStepMember(1); });

    // Whatever moves the list's cell (a click, Home, End, a letter, the focus arriving) moves the
    // current slot with it.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_rebuilding) {
            g_currentGoodsSlot = row;
        }
    });
    connect(m_list, &GoodsList::slotClicked, this, &GoodsPage::OnSelectSlot);
    connect(m_list, &GoodsList::focusLost, this, &GoodsPage::OnSelectSlot);
    connect(m_list, &GoodsList::keyPressed, this, &GoodsPage::OnGridKey);
    connect(m_list, &GoodsList::doubleClickedAnywhere, this, [this] {
        if (QListWidgetItem* item = m_list->item(g_currentGoodsSlot)) {
            m_list->editItem(item);
        }
    });
    m_list->renameText = [this](int slot) { return BeginRename(slot); };
    connect(m_list, &GoodsList::renameEnded, this, &GoodsPage::EndRename);
    connect(m_itemChooser, &QComboBox::activated, this, &GoodsPage::OnItemChosen);

    connect(m_add, &QPushButton::clicked, this, &GoodsPage::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &GoodsPage::OnRemove);
    connect(m_removeAll, &QPushButton::clicked, this, &GoodsPage::OnRemoveAll);
    connect(m_alpha, &QPushButton::clicked, this, &GoodsPage::OnAlpha);
    connect(m_best, &QPushButton::clicked, this, &GoodsPage::OnBest);
    connect(m_numeric, &QPushButton::clicked, this, &GoodsPage::OnNumeric);
    connect(m_secretText->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &GoodsPage::OnTextBoxScrolled);
}

void GoodsPage::EnableControls(bool enable) {
    for (QWidget* control : std::initializer_list<QWidget*>{m_characterCombo, m_itemChooser, m_add,
                                                            m_best, m_removeAll, m_remove, m_alpha,
                                                            m_numeric, m_previous, m_next}) {
        control->setEnabled(enable);
    }
    if (!enable) {
        m_secretText->hide();
    }
}

void GoodsPage::RefreshGoodsList() {
    FinishRename();
    m_rebuilding = true;
    m_list->clear();
    for (int slot = 0; slot < kGoodsSlotCount; ++slot) {
        auto* item = new QListWidgetItem(ShortenedFor(m_itemNames[m_goods[slot]]));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        m_list->addItem(item);
    }
    // The cell comes back where the current slot is, without selecting it.
    m_list->setCurrentRow(g_currentGoodsSlot, QItemSelectionModel::NoUpdate);
    m_rebuilding = false;
}

QString GoodsPage::ShortenedFor(const std::string& name) {
    if (m_list->font() != m_shortenedFont) {
        m_shortened.clear();  // another font or scale: every width changes
        m_shortenedFont = m_list->font();
    }
    const auto found = m_shortened.find(name);
    if (found != m_shortened.end()) {
        return found->second;
    }
    const auto width = [this](const std::string& label) {
        return m_list->LabelWidth(ShownGameText(label));
    };
    return m_shortened.emplace(name, ShownGameText(ShortenedLabel(name, width))).first->second;
}

void GoodsPage::FinishRename() {
    m_list->EndRename();
}

void GoodsPage::ReadItemNamesFromRom(const std::string& path) {
    m_romPath = path;
    m_romAccepted = StampOf(path);
    m_romForeign = !RomTitleMatches(path);
    ReadNamesAgain();
}

void GoodsPage::ReadNamesAgain() {
    m_romStamp = StampOf(m_romPath);
    if (ReadRomItemNames(m_romPath, m_itemNames)) {
        RebuildItemChooser();
    }
}

void GoodsPage::RebuildItemChooser() {
    QStringList entries;
    entries.reserve(256);
    for (int code = 0; code < 256; ++code) {
        entries << ShownGameText(ItemChooserText(m_itemNames[code], code));
    }
    const QSignalBlocker blocker(m_itemChooser);
    static_cast<QStringListModel*>(m_itemChooser->model())->setStringList(entries);
    m_itemChooser->setCurrentIndex(-1);  // no entry is chosen until the user picks a slot
}

void GoodsPage::SetCharacterNames(const QStringList& names) {
    ReplaceItemsSilently(m_characterCombo, names);
}

void GoodsPage::SelectCharacter(int index) {
    SelectSilently(m_characterCombo, index);
}

void GoodsPage::ShowSecretText(const QString& text) {
    m_secretGroup->show();
    m_secretText->setPlainText(text);
    m_secretText->show();
}

void GoodsPage::HideSecretText() {
    m_secretText->hide();
}

int GoodsPage::SelectedSlot() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void GoodsPage::SelectChooserForCurrentSlot() {
    if (g_currentGoodsSlot >= 0 && g_currentGoodsSlot < kGoodsSlotCount) {
        SelectSilently(m_itemChooser, m_goods[g_currentGoodsSlot]);
    }
}

void GoodsPage::OnSelectSlot() {
    g_currentGoodsSlot = m_list->currentRow();
    SelectChooserForCurrentSlot();
}

void GoodsPage::OnGridKey(GridKey key) {
    g_currentGoodsSlot = SlotAfterKey(g_currentGoodsSlot, key);
    if (key != GridKey::kOther && m_list->item(g_currentGoodsSlot) != nullptr) {
        m_list->setCurrentRow(g_currentGoodsSlot);
    }
    SelectChooserForCurrentSlot();
}

void GoodsPage::OnItemChosen(int code) {
    const int slot = SelectedSlot();
    if (slot < 0 || code < 0) {
        return;
    }
    m_goods[slot] = static_cast<std::uint8_t>(code);
    m_list->item(slot)->setText(ShownGameText(m_itemNames[code]));  // whole until the refresh
}

void GoodsPage::OnAdd() {
    if (AddGoods(m_goods, m_itemChooser->currentIndex())) {
        RefreshGoodsList();
    }
}

void GoodsPage::OnRemove() {
    const int slot = SelectedSlot();
    if (slot >= 0) {
        RemoveGoods(m_goods, slot);
        RefreshGoodsList();
    }
}

void GoodsPage::OnRemoveAll() {
    RemoveAllGoods(m_goods);
    RefreshGoodsList();
}

void GoodsPage::OnNumeric() {
    m_goods = NumericOrder(m_goods);
    RefreshGoodsList();
}

void GoodsPage::OnAlpha() {
    m_goods = AlphaOrder(m_goods, m_itemNames);
    RefreshGoodsList();
}

void GoodsPage::OnBest() {
    const int member = m_characterCombo->currentIndex();
    if (member >= 0 && member < 4) {
        m_goods = BestGoods(member);
        RefreshGoodsList();
    }
}

void GoodsPage::OnStepMember(int step) {
    FinishRename();  // the arrows never take the focus, so an open edit is still open
    emit characterChosen((m_characterCombo->currentIndex() + step) & 3);
}

void GoodsPage::OnTextBoxScrolled(int value) {
    // Scrolled to the end: the box's picture is pushed up out of sight and repainted.
    if (value == m_secretText->verticalScrollBar()->maximum()) {
        m_secretText->viewport()->scroll(0, -999);
    }
}

std::optional<QString> GoodsPage::BeginRename(int slot) {
    if (slot < 0 || slot >= kGoodsSlotCount) {
        return std::nullopt;  // no slot: there is no item to rename
    }
    if (!m_romPath.empty() && StampOf(m_romPath) != m_romStamp) {
        ReadNamesAgain();  // the editor opens with the name the ROM holds now
    }
    const int code = m_goods[slot];
    m_rename = Rename{code, m_itemNames[code], m_romPath};
    return ShownGameText(m_itemNames[code]);
}

void GoodsPage::EndRename(const QString& typed) {
    if (!m_rename) {
        return;
    }
    const Rename rename = *std::exchange(m_rename, std::nullopt);
    const std::string name = TypedGameText(typed);
    if (name == rename.name) {
        return;  // the record holds it already; a 39-character name stays whole
    }
    BackupKeeper noBackups = BackupKeeper::Off();
    std::string message;
    // A foreign title counts as accepted only for the very file the user said Yes to.
    const FileStamp now = StampOf(rename.romPath);
    const bool foreignAccepted =
        m_romForeign && now.device == m_romAccepted.device && now.inode == m_romAccepted.inode;
    if (!RenameRomItem(rename.romPath, rename.code, name, m_itemNames,
                       m_backups != nullptr ? *m_backups : noBackups, message, foreignAccepted)) {
        m_prompter.ShowMessage(message);
        return;
    }
    m_romStamp = StampOf(m_romPath);  // our own write is no change by another program
    RebuildItemChooser();
    SelectSilently(m_itemChooser, rename.code);
    RefreshGoodsList();
}

}  // namespace sw::ui
