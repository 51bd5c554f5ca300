#include "StatsPage.h"

#include <QComboBox>
#include <QLineEdit>

#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/FocusTracker.h"
#include "pages/HotArea.h"
#include "platform/SoundPlayer.h"

namespace sw::ui {

StatsPage::StatsPage(SoundPlayer& sounds, QWidget* parent) : QWidget(parent), m_sounds(sounds) {
    setObjectName(QStringLiteral("134"));
    CreateWidgets();
    ConnectWidgets();
}

void StatsPage::CreateWidgets() {
    setGeometry(DluRect(10, 17, 301, 122));
    AddGroupBox(this, QStringLiteral("Stats"), DluRect(0, 0, 180, 122));
    AddGroupBox(this, QStringLiteral("Money"), DluRect(184, 0, 115, 47));

    const Qt::Alignment right = Qt::AlignRight;
    struct Label {
        const char* text;
        QRect dlu;
        Qt::Alignment alignment;
    };
    const Label labels[] = {
        {"Character:", DluRect(2, 10, 34, 8), right},
        {"Name:", DluRect(2, 24, 34, 8), right},
        {"HP:", DluRect(1, 42, 34, 8), right},
        {"/", DluRect(69, 42, 8, 8), Qt::AlignHCenter},
        {"PP:", DluRect(1, 58, 34, 8), right},
        {"/", DluRect(69, 58, 8, 8), Qt::AlignHCenter},
        {"Exp:", DluRect(1, 74, 34, 8), right},
        {"Lvl:", DluRect(1, 90, 34, 8), right},
        {"Offense:", DluRect(117, 10, 28, 8), right},
        {"Defense:", DluRect(117, 26, 28, 8), right},
        {"Speed:", DluRect(117, 42, 28, 8), right},
        {"Guts:", DluRect(117, 58, 28, 8), right},
        {"Vitality:", DluRect(117, 74, 28, 8), right},
        {"I.Q:", DluRect(117, 90, 28, 8), right},
        {"Luck:", DluRect(117, 106, 28, 8), right},
        {"Cash on Hand:", DluRect(192, 13, 48, 8), Qt::AlignLeft},
        {"ATM Balance:", DluRect(192, 30, 48, 8), Qt::AlignLeft},
    };
    for (const Label& label : labels) {
        AddLabel(this, QString::fromLatin1(label.text), label.dlu, label.alignment);
    }

    // Created in the template's keyboard order: the box behind each "/" comes first.
    const auto edit = [this](int controlId, QRect dlu) {
        m_edits.insert(controlId, AddEdit(this, controlId, dlu));
    };
    edit(id::kCash, DluRect(242, 10, 50, 12));
    edit(id::kBank, DluRect(242, 27, 50, 12));
    m_characterCombo = AddDropDownList(this, id::kStatsCharacter, DluRect(39, 8, 68, 55));
    edit(id::kLevel, DluRect(39, 88, 23, 13));
    edit(id::kName, DluRect(39, 24, 68, 13));
    edit(id::kExperience, DluRect(39, 72, 68, 13));
    edit(id::kHpMax, DluRect(78, 40, 29, 13));
    edit(id::kHp, DluRect(39, 40, 29, 13));
    edit(id::kPpMax, DluRect(78, 56, 29, 13));
    edit(id::kPp, DluRect(39, 56, 29, 13));
    edit(id::kDefense, DluRect(152, 24, 18, 13));
    edit(id::kSpeed, DluRect(152, 40, 18, 13));
    edit(id::kGuts, DluRect(152, 56, 18, 13));
    edit(id::kVitality, DluRect(152, 72, 18, 13));
    edit(id::kIq, DluRect(152, 88, 18, 13));
    edit(id::kLuck, DluRect(152, 104, 18, 13));
    edit(id::kOffense, DluRect(152, 8, 18, 13));
}

void StatsPage::ConnectWidgets() {
    connect(m_characterCombo, &QComboBox::activated, this, &StatsPage::characterChosen);
    new FocusTracker(m_characterCombo, &m_characterComboHasFocus);
    auto* hotArea = new HotArea(this, kHotArea);
    connect(hotArea, &HotArea::clicked, this, [this] { m_sounds.Play(kHotAreaSound); });
}

void StatsPage::EnableControls(bool enable) {
    m_characterCombo->setEnabled(enable);
    for (QLineEdit* edit : std::as_const(m_edits)) {
        edit->setEnabled(enable);
    }
}

void StatsPage::SetCharacterNames(const QStringList& names) {
    ReplaceItemsSilently(m_characterCombo, names);
}

void StatsPage::SelectCharacter(int index) {
    SelectSilently(m_characterCombo, index);
}

void StatsPage::SetFieldText(int controlId, const QString& text) {
    FillEdit(m_edits.value(controlId), text);
}

QString StatsPage::FieldText(int controlId) const {
    return m_edits.value(controlId)->text();
}

}  // namespace sw::ui
