// The Misc. page: the player's name, the dog's name, the favourite food and the special
// power's name; on the right a placeholder and the (hidden, stopped) movie control.
#pragma once

#include <QHash>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace sw {
class Prompter;
}

namespace sw::ui {

class ShockwaveFlash;
class SoundPlayer;

class MiscPage : public QWidget {
    Q_OBJECT
public:
    MiscPage(SoundPlayer& sounds, Prompter& prompter, QWidget* parent);

    // The four edit boxes; disabling also stops, empties and hides the movie control and
    // shows the placeholder again.
    void EnableControls(bool enable);

    void SetFieldText(int id, const QString& text);
    QString FieldText(int id) const;

    // Reacts to the secret player names after every load and save: messages, sounds, or a
    // movie in the right half; any other name stops and hides the movie.
    void CheckNamePhrases();
    // Where the two movies were copied at start-up (ends in "/").
    void SetMovieFolder(const QString& folder) { m_movieFolder = folder; }

    ShockwaveFlash* m_flash = nullptr;
    QLabel* m_rentStatic = nullptr;

    static constexpr int kRentSound = 194;
    // A movie path that does not exist: loading it empties the control.
    static const QString kNoMoviePath;

private:
    void CreateWidgets();

    void ShowMovie();
    void HideMovie();

    SoundPlayer& m_sounds;
    Prompter& m_prompter;
    QString m_movieFolder;
    QHash<int, QLineEdit*> m_edits;
    QWidget* m_rentArea = nullptr;  // the placeholder's hot area, hidden under the movie
};

}  // namespace sw::ui
