// The Player Stats page: one party member's name, HP/PP, experience, level and attributes,
// the party's money, and the chooser of the member shown.
#pragma once

#include <QHash>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace sw::ui {

class SoundPlayer;

class StatsPage : public QWidget {
    Q_OBJECT
public:
    StatsPage(SoundPlayer& sounds, QWidget* parent);

    // The 16 edit boxes and the character list.
    void EnableControls(bool enable);

    // The character list holds exactly these names; `SelectCharacter` picks one silently.
    void SetCharacterNames(const QStringList& names);
    void SelectCharacter(int index);

    void SetFieldText(int id, const QString& text);
    QString FieldText(int id) const;

    QComboBox* CharacterCombo() const { return m_characterCombo; }

    // Page pixels of the invisible hot area below the Money box.
    static constexpr QRect kHotArea{320, 120, 70, 145};
    static constexpr int kHotAreaSound = 198;

    bool m_characterComboHasFocus = false;

signals:
    // The user picked another member in the character list.
    void characterChosen(int index);

private:
    void CreateWidgets();
    void ConnectWidgets();

    SoundPlayer& m_sounds;
    QComboBox* m_characterCombo = nullptr;
    QHash<int, QLineEdit*> m_edits;
};

}  // namespace sw::ui
