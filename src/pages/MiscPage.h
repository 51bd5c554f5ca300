// The Misc. page: the player's name, the dog's name, the favourite food and the special
// power's name; on the right a placeholder and the (hidden, stopped) movie control.
#pragma once

#include <QHash>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace sw::ui {

class ShockwaveFlash;
class SoundPlayer;

class MiscPage : public QWidget {
    Q_OBJECT
public:
    MiscPage(SoundPlayer& sounds, QWidget* parent);

    // The four edit boxes; disabling also stops, empties and hides the movie control and
    // shows the placeholder again.
    void EnableControls(bool enable);

    void SetFieldText(int id, const QString& text);
    QString FieldText(int id) const;

    // Reacts to secret player names after every load and save (none are known yet).
    void CheckNamePhrases();

    ShockwaveFlash* m_flash = nullptr;
    QLabel* m_rentStatic = nullptr;

    static constexpr int kRentSound = 194;
    // A movie path that does not exist: loading it empties the control.
    static const QString kNoMoviePath;

private:
    void CreateWidgets();

    SoundPlayer& m_sounds;
    QHash<int, QLineEdit*> m_edits;
};

}  // namespace sw::ui
