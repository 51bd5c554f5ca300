// Tabs and focus, the hot areas' sounds and cursor, and the movie control on the Misc. page.
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "EditorFixture.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/EventFlagsPage.h"
#include "pages/GoodsPage.h"
#include "pages/HotArea.h"
#include "pages/MiscPage.h"
#include "platform/ShockwaveFlash.h"

namespace sw::test {
namespace {

class PagesTest : public EditorTest {};

TEST_F(PagesTest, EachTabShowsExactlyItsPage) {
    Start();
    QWidget* const pages[] = {Pages().stats, Pages().goods, Pages().misc, Pages().flags};
    for (int tab : {0, 1, 2, 3, 0, 2}) {  // the first: as the window starts
        window->Tabs()->setCurrentIndex(tab);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(pages[i]->isHidden(), i != tab) << "tab " << tab << " page " << i;
        }
        EXPECT_EQ(window->g_currentPage, pages[tab]);
    }
}

TEST_F(PagesTest, StatsPageKeyboardOrderFollowsTheTemplate) {
    Start(QString::fromStdString(state));
    EXPECT_EQ(FocusOrder(Pages().stats, Control(Pages().stats, ui::id::kCash)),
              QStringLiteral("1038 1039 1024 1037 1036 1025 1012 1026 1027 1028 1029 1030 1031 "
                             "1032 1033 1034 1035"));
}

TEST_F(PagesTest, FocusedCharacterListCarriesOverToTheOtherPage) {
    Start(QString::fromStdString(state));
    ShowActive();

    Pages().stats->CharacterCombo()->setFocus();
    ASSERT_TRUE(Pages().stats->m_characterComboHasFocus);
    window->Tabs()->setCurrentIndex(1);
    EXPECT_TRUE(Pages().goods->CharacterCombo()->hasFocus());
    EXPECT_TRUE(Pages().goods->m_characterComboHasFocus);
    window->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(Pages().stats->CharacterCombo()->hasFocus());

    // Focus on an edit box is not carried to a character list.
    Control(Pages().stats, ui::id::kName)->setFocus();
    window->Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(Pages().goods->CharacterCombo()->hasFocus());
}

TEST_F(PagesTest, StatsHotAreaPlaysItsSoundOnlyInsideItsRectangle) {
    Start();
    ui::StatsPage* stats = Pages().stats;
    // Left and top edges are inside, right and bottom edges outside; the page ends at 198 px.
    for (QPoint inside : {QPoint(320, 120), QPoint(389, 197), QPoint(350, 150)}) {
        ClickAt(stats, inside);
    }
    for (QPoint outside : {QPoint(390, 200), QPoint(319, 150), QPoint(330, 119), QPoint(60, 40)}) {
        ClickAt(stats, outside);
    }
    EXPECT_EQ(sounds.played, (std::vector<int>{198, 198, 198}));

    // The pointing hand with its hot spot at (11, 4) over the area, the usual pointer elsewhere.
    ShowActive();
    QTest::mouseMove(stats, QPoint(330, 130));
    const QCursor hand = stats->childAt(QPoint(330, 130))->cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.hotSpot(), QPoint(11, 4));
    EXPECT_EQ(stats->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PagesTest, RentPlaceholdersPlayTheirSounds) {
    Start();
    const QRect misc = Pages().misc->m_rentStatic->geometry();
    ClickAt(Pages().misc, misc.center());
    ClickAt(Pages().misc, misc.topLeft() - QPoint(1, 0));
    ClickAt(Pages().misc, misc.bottomRight() + QPoint(0, 1));
    const QRect goods = Pages().goods->m_rentStatic->geometry();
    ClickAt(Pages().goods, goods.topLeft());
    EXPECT_EQ(sounds.played, (std::vector<int>{194, 193}));
}

TEST_F(PagesTest, CtrlTabAndCtrlPageKeysStepThroughTheTabsBothWays) {
    Start(QString::fromStdString(state));
    ShowActive();
    QTest::mouseClick(Control(Pages().stats, ui::id::kLevel), Qt::LeftButton);
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier, ctrlShift = ctrl | Qt::ShiftModifier;
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> steps[] = {
        {Qt::Key_Tab, ctrl, 1},          {Qt::Key_Tab, ctrl, 2},      {Qt::Key_Tab, ctrlShift, 1},
        {Qt::Key_Backtab, ctrlShift, 0}, {Qt::Key_Tab, ctrlShift, 3}, {Qt::Key_PageDown, ctrl, 0},
        {Qt::Key_PageUp, ctrl, 3},
    };
    for (const auto& [key, modifiers, tab] : steps) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused != nullptr ? focused : window.get(), key, modifiers);
        EXPECT_EQ(window->Tabs()->currentIndex(), tab) << key << " " << modifiers.toInt();
    }
}

TEST_F(PagesTest, ATabChangeLeavesTheFocusOffSaveSoSpaceDoesNotSave) {
    Start(QString::fromStdString(state));
    ShowActive();
    const Bytes before = ReadBytes(state);
    QTest::mouseClick(Control(Pages().stats, ui::id::kLevel), Qt::LeftButton);
    Type(Pages().stats, ui::id::kLevel, QStringLiteral("13"));
    auto* save = window->findChild<QPushButton*>(QStringLiteral("1023"));
    for (QWidget* focused : {QApplication::focusWidget(), static_cast<QWidget*>(save)}) {
        focused->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focused, Qt::Key_Tab, Qt::ControlModifier);
        // A hidden page's focus goes to the window, not to Save; Save keeps its own.
        EXPECT_EQ(QApplication::focusWidget(),
                  focused == save ? static_cast<QWidget*>(save) : window.get());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        EXPECT_EQ(ReadBytes(state) == before, focused != save);
    }
}

TEST_F(PagesTest, TheMovieCoversTheMiscRentArea) {
    Start(QString::fromStdString(state));
    ShowActive();
    window->Tabs()->setCurrentIndex(2);
    ui::MiscPage* misc = Pages().misc;
    const QPoint rent = misc->m_rentStatic->geometry().center();
    const auto playing = [this](const QString& name) {
        Type(Pages().misc, ui::id::kPlayerName, name);
        Trigger(32773);
        sounds.played.clear();
    };
    playing(QStringLiteral("Mr Thistlewood"));
    ASSERT_FALSE(misc->m_flash->isHidden());
    ClickAt(misc, rent);
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_NE(misc->childAt(rent)->cursor().shape(), Qt::BitmapCursor);

    playing(QStringLiteral("Marlowe"));  // the placeholder is back, and so is its area
    ClickAt(misc, rent);
    QTest::mouseMove(misc, rent);
    EXPECT_EQ(sounds.played, std::vector<int>{194});
    EXPECT_EQ(misc->childAt(rent)->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(PagesTest, MenuBarAndMenusShareOneFont) {
    Start();
    ShowActive();
    auto* bar = window->findChild<QMenuBar*>();
    for (QAction* title : bar->actions()) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        ASSERT_TRUE(title->menu()->isVisible());
        EXPECT_EQ(title->menu()->font(), bar->font()) << title->text().toStdString();
        title->menu()->close();
    }
}

TEST_F(PagesTest, AMenuBarTooNarrowForItsMenusShowsTheOverflowButtonWithItsPicture) {
    // The picture is made when first drawn; it is the platform style's own.
    QMenuBar bar;
    for (int i = 0; i < 8; ++i) {
        bar.addMenu(QStringLiteral("Menu %1").arg(i));
    }
    bar.resize(80, bar.sizeHint().height());
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    auto* overflow = bar.findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    EXPECT_TRUE(overflow->isVisible());
    auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_NE(style, nullptr);
    // Compared as the button draws them: some Qt releases give a painted icon's later pixmaps
    // a smoothing of their own.
    const auto drawn = [](const QIcon& icon) {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
        }
        return image;
    };
    const QImage expected =
        drawn(style->baseStyle()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton));
    ASSERT_NE(expected, drawn(QIcon()));
    EXPECT_EQ(drawn(overflow->icon()), expected);
    EXPECT_FALSE(overflow->icon().isNull());
}

// Lightness of the palest and the darkest pixel of a widget as drawn, within `area`.
std::pair<int, int> LightnessRange(QWidget* widget, QRect area) {
    const QImage image = widget->grab(area).toImage();
    int least = 255;
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int lightness = image.pixelColor(x, y).lightness();
            least = std::min(least, lightness);
            most = std::max(most, lightness);
        }
    }
    return {least, most};
}

TEST_F(PagesTest, EveryLabelAndGoodsRowFitsInEachFontOfThisMachine) {
    // Run at scales 1, 1.5 and 2 (ctest sets QT_SCALE_FACTOR). Fonts with deep descenders or
    // a large line spacing cut the tail of "Dog's Name:" and the goods grid's seventh row.
    const QFont appFont = QApplication::font();
    QStringList families = QFontDatabase::families();
    families.removeIf([](const QString& family) {
        return !QFontDatabase::isSmoothlyScalable(family) ||
               QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
    });
    for (const QString& family : families.mid(0, 12)) {
        QApplication::setFont(QFont(family, 10));
        Start();
        for (QWidget* page :
             {static_cast<QWidget*>(Pages().stats), static_cast<QWidget*>(Pages().goods),
              static_cast<QWidget*>(Pages().misc), static_cast<QWidget*>(Pages().flags)}) {
            for (QLabel* label : page->findChildren<QLabel*>()) {
                if (!label->text().isEmpty() && label->pixmap().isNull()) {
                    EXPECT_LE(label->fontMetrics().height(), label->height())
                        << family.toStdString() << ": " << label->text().toStdString();
                }
            }
        }
        auto* list = Control<QListWidget>(Pages().goods, ui::id::kGoodsList);
        QWidget* frameBottom =
            Pages().goods->childAt(list->geometry().bottomLeft() + QPoint(8, -1));
        ASSERT_NE(frameBottom, list) << "the frame's bottom edge lies over the list";
        const int rowsEnd = frameBottom->y() - list->y();
        EXPECT_LE(7 * list->gridSize().height(), rowsEnd) << family.toStdString();
        EXPECT_LE(list->fontMetrics().height(), list->gridSize().height()) << family.toStdString();
    }
    QApplication::setFont(appFont);
}

TEST_F(PagesTest, FramesAndFlatButtonsReadInADarkPaletteAndUnderAnAppStyleSheet) {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(40, 40, 42)},
                                       {QPalette::WindowText, QColor(230, 230, 230)},
                                       {QPalette::Button, QColor(50, 50, 52)},
                                       {QPalette::ButtonText, QColor(230, 230, 230)},
                                       {QPalette::Base, QColor(25, 25, 27)},
                                       {QPalette::Text, QColor(230, 230, 230)},
                                       {QPalette::Mid, QColor(36, 36, 38)},
                                       {QPalette::Dark, QColor(20, 20, 20)}}) {
        dark.setColor(role, colour);
    }
    Start(QString::fromStdString(state));
    ShowActive();
    // A palette changed while the window is open: the group boxes' frame lines follow it.
    auto* group = Control<QGroupBox>(Pages().goods, ui::id::kGoodsGroup);
    window->Tabs()->setCurrentIndex(1);
    const QRect leftEdge(0, group->height() / 2, 3, 1);
    for (const QPalette& palette : {light, dark}) {
        QApplication::setPalette(palette);
        const auto [least, most] = LightnessRange(group, leftEdge);
        EXPECT_GE(most - least, 60) << (&palette == &light ? "light" : "dark");
    }
    QApplication::setPalette(light);

    // A style sheet that makes every text light: the flat buttons' text stays on a face that
    // is not light too.
    window.reset();
    qApp->setStyleSheet(QStringLiteral(
        "QWidget { color: #f0f0f0; background-color: #202020; } QPushButton { color: white; }"));
    Start(QString::fromStdString(state));
    ShowActive();
    window->Tabs()->setCurrentIndex(3);
    for (const int id : {ui::id::kFind, ui::id::kGoto}) {
        auto* button = Control<QPushButton>(Pages().flags, id);
        const auto [least, most] = LightnessRange(button, button->rect().adjusted(2, 2, -2, -2));
        EXPECT_GE(most - least, 100) << id;
    }
    window.reset();
    qApp->setStyleSheet(QString());
}

TEST_F(PagesTest, ClosingStopsEmptiesAndHidesTheMovie) {
    std::filesystem::copy_file(
        QCoreApplication::applicationDirPath().toStdString() + "/statewright.dat",
        dir / "statewright.dat");  // the movies' data file, found in the program's folder
    Start(QString::fromStdString(state));
    Type(Pages().misc, ui::id::kPlayerName, QStringLiteral("Mr Thistlewood"));  // plays a movie
    Trigger(32773);
    ui::MiscPage* misc = Pages().misc;
    ASSERT_TRUE(misc->m_flash->IsPlaying());

    misc->EnableControls(true);  // enabling leaves the right half alone
    EXPECT_FALSE(misc->m_flash->isHidden());

    Trigger(57602);
    EXPECT_FALSE(misc->m_flash->IsPlaying());
    EXPECT_EQ(misc->m_flash->MoviePath(), ui::MiscPage::kNoMoviePath);
    EXPECT_TRUE(misc->m_flash->isHidden());
    EXPECT_FALSE(misc->m_rentStatic->isHidden());
}

TEST_F(PagesTest, SoundPlayerDecodesTheEmbeddedAdpcmClips) {
    QFile wave(QStringLiteral(":/wave/198"));
    ASSERT_TRUE(wave.open(QIODevice::ReadOnly));
    const ui::AudioSoundPlayer::Clip clip = ui::AudioSoundPlayer::Decode(wave.readAll());
    EXPECT_EQ(clip.sampleRate, 11025);
    EXPECT_EQ(clip.channels, 1);
    EXPECT_NEAR(clip.pcm.size() / 2 / 11025.0, 1.7, 0.05);
    EXPECT_TRUE(ui::AudioSoundPlayer::Decode(QByteArray("RIFF junk")).pcm.isEmpty());

    ui::AudioSoundPlayer player;  // with or without an audio device: no error, no wait
    player.Play(198);
    player.Play(194);
    player.Play(181);  // there is no such clip
}

TEST_F(PagesTest, DialogUnitsAndFontFollowTheTemplates) {
    EXPECT_EQ(ui::DluRect(10, 17, 301, 122), QRect(15, 28, 452, 198));
    EXPECT_EQ(ui::DluRect(242, 10, 50, 12).right(), 437);
    // The largest quarter point from 6.5 to 8 at which the average character is at most 6 px
    // wide, whatever size the font it starts from has.
    const auto average = [](const QFont& font) {
        return QFontMetricsF(font).horizontalAdvance(
                   QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")) /
               52.0;
    };
    QFont pixelSized = QApplication::font();
    pixelSized.setPixelSize(30);
    for (const QFont& base :
         {QApplication::font(), QFont(QApplication::font().family(), 5),
          QFont(QApplication::font().family(), 24), QFont(QStringLiteral("Monospace"), 10),
          pixelSized}) {
        const QFont font = ui::DialogFont(base);
        const std::string name = base.toString().toStdString();
        EXPECT_EQ(font.family(), base.family()) << name;
        EXPECT_LE(average(font), 6.0) << name;
        ASSERT_LE(font.pointSizeF(), 8.0) << name;
        ASSERT_GE(font.pointSizeF(), 6.5) << name;
        if (font.pointSizeF() < 8.0) {
            QFont larger = font;
            larger.setPointSizeF(font.pointSizeF() + 0.25);
            EXPECT_GT(average(larger), 6.0) << name;
        }
    }
}

}  // namespace
}  // namespace sw::test
