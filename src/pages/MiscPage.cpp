#include "MiscPage.h"

#include <QLabel>
#include <QLineEdit>

#include "MovieFiles.h"
#include "NamePhrases.h"
#include "Prompter.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/GameTextShown.h"
#include "pages/HotArea.h"
#include "platform/ShockwaveFlash.h"
#include "platform/SoundPlayer.h"

namespace sw::ui {

const QString MiscPage::kNoMoviePath = QStringLiteral("X:\\gGHDJKkja883r54kJHFHJfhdh");

MiscPage::MiscPage(SoundPlayer& sounds, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_sounds(sounds), m_prompter(prompter) {
    setObjectName(QStringLiteral("138"));
    CreateWidgets();
    m_flash->Stop();
}

void MiscPage::CreateWidgets() {
    setGeometry(DluRect(10, 17, 300, 122));
    AddGroupBox(this, QStringLiteral("Other Stuff"), DluRect(0, 0, 150, 122));
    // The right half's frame lies under the movie and the placeholder.
    AddGroupBox(this, QString(), DluRect(153, 0, 146, 122));

    struct Field {
        int id;
        const char* label;
        int y;
    };
    const Field fields[] = {{id::kPlayerName, "Player Name:", 10},
                            {id::kDogName, "Dog's Name:", 28},
                            {id::kFavoriteFood, "Fave Food:", 46},
                            {id::kPsiSpecial, "PSI Special:", 64}};
    for (const Field& field : fields) {
        AddLabel(this, QString::fromLatin1(field.label), DluRect(4, field.y + 2, 43, 8),
                 Qt::AlignRight);
        m_edits.insert(field.id, AddEdit(this, field.id, DluRect(50, field.y, 94, 13)));
    }

    m_flash = new ShockwaveFlash(this);
    m_flash->setObjectName(IdName(id::kFlash));
    m_flash->setGeometry(DluRect(156, 6, 140, 113));
    m_flash->hide();

    m_rentStatic = AddLabel(this, QStringLiteral("This space for rent"), DluRect(207, 56, 60, 8),
                            Qt::AlignLeft);
    m_rentStatic->setObjectName(IdName(id::kMiscRentStatic));
    m_rentStatic->setWordWrap(false);
    auto* hotArea = new HotArea(this, m_rentStatic->geometry());
    connect(hotArea, &HotArea::clicked, this, [this] { m_sounds.Play(kRentSound); });
    m_rentArea = hotArea;
}

void MiscPage::EnableControls(bool enable) {
    for (int controlId : {id::kDogName, id::kFavoriteFood, id::kPlayerName, id::kPsiSpecial}) {
        m_edits.value(controlId)->setEnabled(enable);
    }
    if (!enable) {
        HideMovie();
    }
}

void MiscPage::SetFieldText(int controlId, const QString& text) {
    FillEdit(m_edits.value(controlId), text);
}

QString MiscPage::FieldText(int controlId) const {
    return m_edits.value(controlId)->text();
}

void MiscPage::ShowMovie() {
    // The movie covers the placeholder and its hot area: no click reaches the area.
    m_rentStatic->hide();
    m_rentArea->hide();
    m_flash->show();
}

void MiscPage::HideMovie() {
    // Stopped, emptied with a path that does not exist, and the placeholder back in its place.
    m_flash->Stop();
    m_flash->LoadMovie(0, kNoMoviePath);
    m_flash->hide();
    m_rentStatic->show();
    m_rentArea->show();
}

void MiscPage::CheckNamePhrases() {
    const int phrase = MatchNamePhrase(TypedGameText(FieldText(id::kPlayerName)));
    if (phrase != 1) {
        HideMovie();  // any other name
        update();
    }
    if (phrase == 0) {
        return;
    }
    const NamePhrase& reaction = NamePhrases()[static_cast<std::size_t>(phrase - 1)];
    if (reaction.movie == PhraseMovie::kA) {
        ShowMovie();
        m_flash->SetQuality2(QStringLiteral("high"));
        m_flash->LoadMovie(0, m_movieFolder + QLatin1String(kMovieA.fileName));
        m_flash->Zoom(50);
        m_flash->Pan(80, -5, 0);
    } else if (reaction.movie == PhraseMovie::kB) {
        ShowMovie();
        m_flash->SetQuality2(QStringLiteral("low"));
        m_flash->LoadMovie(0, m_movieFolder + QLatin1String(kMovieB.fileName));
    }
    if (reaction.soundBefore != 0) {
        m_sounds.Play(reaction.soundBefore);  // plays on while the message is open
    }
    if (reaction.message != nullptr) {
        m_prompter.ShowMessage(reaction.message);
    }
    if (reaction.soundAfter != 0) {
        m_sounds.Play(reaction.soundAfter);
    }
}

}  // namespace sw::ui
