// The Event Flags page driven through its list, its dialogs and the window: toggling by
// clicks, description editing and its file, Find and Goto.
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolTip>
#include <functional>

#include "EditorFixture.h"
#include "Layout.h"
#include "Messages.h"
#include "document/Document.h"
#include "pages/ControlIds.h"
#include "pages/EventFlagsPage.h"
#include "pages/FindDlg.h"
#include "pages/FlagListCtrl.h"
#include "pages/FlagListModel.h"
#include "pages/GotoDlg.h"

namespace sw::test {
namespace {

using ui::FlagListModel;

class EventFlagsTest : public EditorTest {
protected:
    // The demo state open, the window shown and active, the Event Flags tab chosen.
    void ShowFlagsPage(const char* ownDescriptions = nullptr) {
        if (ownDescriptions != nullptr) {
            std::ofstream(dir / "event.vellumgate.txt") << ownDescriptions;
        }
        Start(QString::fromStdString(state));
        ShowActive();
        window->Tabs()->setCurrentIndex(3);
        page = Pages().flags;
        list = page->FlagList();
        model = page->FlagModel();
        page->m_execDialog = [this](QDialog& dialog) {
            ++dialogsRun;
            if (answers.empty()) {
                return static_cast<int>(QDialog::Rejected);
            }
            const auto answer = answers.front();
            answers.pop_front();
            dialog.show();
            answer(dialog);
            return dialog.result();
        };
    }

    QPoint RowPoint(int row, int x) const {
        return {x, list->visualRect(model->index(row, 0)).center().y()};
    }
    void Click(int row, int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(list->viewport(), button, {}, RowPoint(row, x));
    }
    // What the window system delivers for a double click: press, release, double click, release.
    void DoubleClick(int row, int x) {
        Click(row, x);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowPoint(row, x));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, RowPoint(row, x));
    }
    // The open label editor (closed ones linger hidden until deleted).
    QLineEdit* Editor() const {
        for (QLineEdit* editor : list->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible()) {
                return editor;
            }
        }
        return nullptr;
    }
    // Ends the open label edit with a key; Enter's commit arrives through the event loop.
    void EndEdit(Qt::Key key) {
        ASSERT_NE(Editor(), nullptr);
        QTest::keyClick(Editor(), key);
        ASSERT_TRUE(QTest::qWaitFor([this] { return Editor() == nullptr; }));
    }
    void ReplaceEditorText(const QString& text) {
        ASSERT_NE(Editor(), nullptr);
        ReplaceByTyping(Editor(), text);
    }
    QString Description(int row) const { return model->index(row, 1).data().toString(); }
    std::string OwnFile() const { return ReadText(dir / "event.vellumgate.txt"); }

    // Scripted answers of the Find and Goto dialogs, each typing into the dialog and pressing
    // its OK button (Goto: Enter); what the dialog showed when it opened is kept.
    void AnswerFind(const QString& text, bool caseSensitive = false) {
        answers.push_back([this, text, caseSensitive](QDialog& dialog) {
            auto& find = static_cast<ui::FindDlg&>(dialog);
            findShown.push_back({find.SearchEdit()->text(), find.CaseCheck()->isChecked()});
            ReplaceByTyping(find.SearchEdit(), text);
            if (caseSensitive) {
                QTest::mouseClick(find.CaseCheck(), Qt::LeftButton);
            }
            PressOk(dialog);
        });
    }
    void AnswerGoto(const QString& text) {
        answers.push_back([this, text](QDialog& dialog) {
            auto& go = static_cast<ui::GotoDlg&>(dialog);
            gotoShown.push_back(go.NumberEdit()->text());
            // As a player does: type at once (the number box has the focus, its text selected,
            // so the typing replaces it) and press Enter.
            // (The dialog's own focus widget: the one that has the keys while it is active.)
            QWidget* focus = go.focusWidget();
            ASSERT_EQ(focus, go.NumberEdit());
            QTest::keyClicks(focus, text);
            QTest::keyClick(focus, Qt::Key_Return);
        });
    }
    static void PressOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    }
    void Find(const QString& text, bool caseSensitive = false) {
        AnswerFind(text, caseSensitive);
        QTest::mouseClick(Control<QPushButton>(page, ui::id::kFind), Qt::LeftButton);
    }
    void Goto(const QString& text) {
        AnswerGoto(text);
        QTest::mouseClick(Control<QPushButton>(page, ui::id::kGoto), Qt::LeftButton);
    }
    int Top() const { return list->TopIndex(); }
    int Mark() const { return list->GetSelectionMark(); }
    GameState& Flags() const { return window->Doc().gameState; }

    ui::EventFlagsPage* page = nullptr;
    ui::FlagListCtrl* list = nullptr;
    FlagListModel* model = nullptr;
    std::deque<std::function<void(QDialog&)>> answers;
    std::vector<std::pair<QString, bool>> findShown;
    std::vector<QString> gotoShown;
    int dialogsRun = 0;
};

QImage Icon13(int id) {
    return QPixmap(QStringLiteral(":/icon/%1").arg(id))
        .scaled(13, 13, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .toImage();
}

TEST_F(EventFlagsTest, RowsShowNumbersPicturesAndDescriptions) {
    ShowFlagsPage();
    ASSERT_EQ(model->rowCount(), 1024);
    // Row n shows flag n + 1 (the core's FlagNumbers table has the digits).
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("$0001"));
    EXPECT_EQ(model->index(1023, 0).data().toString(), QStringLiteral("$0400"));
    // Demo flags 0 and 1023 are set, 4 is clear.
    const auto picture = [this](int row) {
        return model->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    };
    EXPECT_EQ(picture(0), Icon13(167));
    EXPECT_EQ(picture(1023), Icon13(167));
    EXPECT_EQ(picture(4), Icon13(168));
    EXPECT_EQ(Description(0), QStringLiteral("Woke up\n"));  // as read, line feed and all
    EXPECT_EQ(Description(1), QString());

    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Description   (Right-click to edit)"));
    EXPECT_TRUE(list->isEnabled());
    Trigger(57602);
    EXPECT_FALSE(list->isEnabled());
    for (int button : {ui::id::kFind, ui::id::kGoto}) {
        EXPECT_TRUE(Control<QPushButton>(page, button)->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(page, button)->isFlat());
    }
}

TEST_F(EventFlagsTest, TheFlagColumnHoldsEveryNumberWholeInAnyFont) {
    ShowFlagsPage();
    const int least = list->header()->sectionSize(0);
    const QFont shown = list->font();
    // Qt's own measure of the rows in view; $000D and $00DA-$00DE were cut at the default font.
    for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
        QFont font = shown;
        font.setPointSizeF(shown.pointSizeF() * scale);
        list->setFont(font);
        for (const int row : {0x0C, 0xD9, 0x3FF}) {
            list->scrollTo(model->index(row, 0), QAbstractItemView::PositionAtTop);
            EXPECT_LE(static_cast<QAbstractItemView*>(list)->sizeHintForColumn(0),
                      list->header()->sectionSize(0))
                << scale << " row " << row;
        }
        EXPECT_GE(list->header()->sectionSize(0), least) << scale;
    }
    list->setFont(shown);
    EXPECT_EQ(list->header()->sectionSize(0), least);
}

TEST_F(EventFlagsTest, ClicksInThePictureStripToggleWithoutSelecting) {
    ShowFlagsPage();
    QSignalSpy toggles(list, &ui::FlagListCtrl::toggleRequested);
    Click(4, 15);
    EXPECT_EQ(Flags().GetFlag(4), 1);
    EXPECT_EQ(model->StateImage(4), FlagListModel::kSetImage);
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(list->hasFocus());
    EXPECT_EQ(Mark(), -1);

    Click(4, 16);
    EXPECT_EQ(Flags().GetFlag(4), 1);
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 4);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(Mark(), 4);
    // A drag that starts in the strip toggles once and selects nothing on its way.
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, RowPoint(4, 5));
    QTest::mouseMove(list->viewport(), RowPoint(2, 60));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, RowPoint(2, 60));
    EXPECT_EQ(Flags().GetFlag(4), 0);
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 4);

    DoubleClick(6, 3);  // two toggles
    EXPECT_EQ(toggles.count(), 4);
    EXPECT_EQ(Flags().GetFlag(6), 0);
    EXPECT_EQ(Mark(), 4);
    DoubleClick(6, 100);
    EXPECT_EQ(toggles.count(), 4);
    EXPECT_EQ(Editor(), nullptr);

    // Space toggles the selected row, row 6 now.
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(Flags().GetFlag(6), 1);
    EXPECT_EQ(Flags().GetFlag(4), 0);
}

TEST_F(EventFlagsTest, ClicksBelowTheLastRowOrOnADisabledListChangeNothing) {
    ShowFlagsPage();
    page->ShowFlag(1024);
    const int rowHeight = list->visualRect(model->index(1023, 0)).height();
    // Leave room below the last row, as a list whose height is no multiple of a row has.
    list->resize(list->width(), list->height() + rowHeight / 2);
    page->ShowFlag(1024);
    const int below = list->visualRect(model->index(1023, 0)).bottom() + 2;
    ASSERT_LT(below, list->viewport()->height());
    const auto before = Flags().eventFlags;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, below));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, below));
    EXPECT_EQ(Flags().eventFlags, before);
    EXPECT_EQ(Editor(), nullptr);

    Trigger(57602);  // closing keeps the flags and disables the list
    Click(1023, 5);
    Click(1023, 100, Qt::RightButton);
    EXPECT_EQ(Flags().eventFlags, before);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(EventFlagsTest, AToggledFlagReachesTheFileAsExactlyOneBit) {
    ShowFlagsPage();
    Bytes expected = ReadBytes(state);
    page->ShowFlag(300);  // rows 299 on at the top
    Click(301, 5);        // flag index 301: byte 37, bit 5, set in the demo
    EXPECT_EQ(Flags().GetFlag(301), 0);
    Trigger(32773);
    expected[layout::kFlagsOffset + 37] ^= 0x20;
    EXPECT_EQ(DiffOffsets(expected, ReadBytes(state)), std::vector<long>{});
}

TEST_F(EventFlagsTest, RightClickEditsTheRowUnderThePointerAndRewritesTheFile) {
    ShowFlagsPage("$0003:Pip followed\n$0004:Found the book\n");
    const Bytes stateBefore = ReadBytes(state);
    Click(4, 5);                     // a toggle that a Save would write
    Click(2, 430, Qt::RightButton);  // right of both columns
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Mark(), 2);
    EXPECT_EQ(Editor()->text(), QStringLiteral("Pip followed"));
    // Over the flag number, right of its picture.
    const QRect number = list->visualRect(model->index(2, 0));
    EXPECT_EQ(Editor()->y(), number.y());
    EXPECT_GE(Editor()->x(), number.x() + FlagListModel::kImageSize);
    EXPECT_LT(Editor()->x(), number.x() + 30);
    EXPECT_EQ(Description(2), QString());  // blank while editing
    ReplaceEditorText(QStringLiteral("Pip ran off"));
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(Description(2), QStringLiteral("Pip ran off"));
    EXPECT_EQ(page->m_descriptions[3], "Pip ran off");
    EXPECT_EQ(page->m_descriptions[4], "Found the book");  // its line feed left with the write
    EXPECT_NE(OwnFile().find("\n$0003:Pip ran off\n$0004:Found the book\n$0005:\n"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(state), stateBefore);  // Enter ended the edit, it did not press Save

    Click(5, 3, Qt::RightButton);  // in the picture strip: an edit, no toggle
    EXPECT_NE(Editor(), nullptr);
    EXPECT_EQ(Flags().GetFlag(5), 1);
    EXPECT_EQ(Mark(), 5);
    EndEdit(Qt::Key_Escape);
}

TEST_F(EventFlagsTest, CancelledAndEmptyEditsAreTakenAndWritten) {
    ShowFlagsPage();
    Click(0, 200, Qt::RightButton);
    EXPECT_EQ(Editor()->text(), QStringLiteral("Woke up"));
    EndEdit(Qt::Key_Escape);  // unchanged and cancelled: the file is written all the same
    EXPECT_NE(OwnFile().find("'\n$0001:Woke up\n$0002:\n"), std::string::npos);

    Click(1, 200, Qt::RightButton);
    ReplaceEditorText(QStringLiteral("Scratch"));
    EndEdit(Qt::Key_Escape);
    EXPECT_EQ(page->m_descriptions[2], "Scratch");
    EXPECT_TRUE(window->isVisible());  // Escape ended the edit, not the window

    Click(0, 200, Qt::RightButton);
    ReplaceEditorText(QString());
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(page->m_descriptions[1], "");
    EXPECT_NE(OwnFile().find("'\n$0001:\n$0002:Scratch\n"), std::string::npos);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(EventFlagsTest, EditsTheListStartsWorkOnTheMarkOrElseOnTheOpenedRow) {
    ShowFlagsPage("$0400:The end\n");
    Click(3, 100);  // selects row 3, mark 3
    QTest::keyClick(list, Qt::Key_F2);
    ReplaceEditorText(QStringLiteral("three"));
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(page->m_descriptions[4], "three");

    // A Find that matched the last row leaves the mark beyond the list: F2 on the selected
    // row edits that row.
    Find(QStringLiteral("The end"));
    ASSERT_EQ(Mark(), 1024);
    QTest::keyClick(list, Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), QStringLiteral("three"));
    ReplaceEditorText(QStringLiteral("still three"));
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(page->m_descriptions[4], "still three");
    EXPECT_EQ(page->m_descriptions[1024], "The end");

    // A mark inside the list names the row edited, even when another row is selected.
    Goto(QStringLiteral("$0007"));
    QTest::keyClick(list, Qt::Key_F2);
    ReplaceEditorText(QStringLiteral("seven"));
    EndEdit(Qt::Key_Return);
    EXPECT_EQ(page->m_descriptions[8], "seven");
    EXPECT_EQ(page->m_descriptions[4], "still three");
}

// The walk itself (start row, wrap, case folding) is tested in the core; here the dialog, the
// mark and the scrolling.
TEST_F(EventFlagsTest, FindScrollsTheMatchToTheTopAndMovesTheMark) {
    ShowFlagsPage("$0010:Met the LAMPLIGHTER\n$0400:lamp at the end\n");
    Find(QString());  // an empty text matches the first row looked at
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(Mark(), 1);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());

    Find(QStringLiteral("lamp"));
    EXPECT_EQ(Top(), 15);
    EXPECT_EQ(Mark(), 16);
    Find(QStringLiteral("lamp"), true);  // the tick reaches the search: LAMPLIGHTER is skipped
    EXPECT_EQ(Top(), list->verticalScrollBar()->maximum());
    EXPECT_EQ(Mark(), 1024);
    Find(QStringLiteral("zebra"));
    EXPECT_EQ(Mark(), 1024);
    EXPECT_EQ(page->m_lastSearch, "zebra");

    // Every Find opens with the last text and without the tick; Close changes nothing.
    answers.push_back([](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("2")), Qt::LeftButton);
    });
    QTest::mouseClick(Control<QPushButton>(page, ui::id::kFind), Qt::LeftButton);
    EXPECT_EQ(Mark(), 1024);
    EXPECT_EQ(page->m_lastSearch, "zebra");
    EXPECT_EQ(findShown[2], std::pair(QStringLiteral("lamp"), false));
    EXPECT_EQ(findShown[3], std::pair(QStringLiteral("lamp"), false));
}

TEST_F(EventFlagsTest, GotoMarksTheNumberForTheNextFind) {
    ShowFlagsPage();
    Goto(QStringLiteral("$0001"));
    EXPECT_EQ(Top(), 0);
    EXPECT_EQ(Mark(), 1);
    Find(QString());
    EXPECT_EQ(Mark(), 2);
    EXPECT_EQ(Top(), 1);

    Goto(QStringLiteral("10"));
    EXPECT_EQ(Top(), 15);
    EXPECT_EQ(Mark(), 16);

    // Numbers outside the list scroll to its nearer end; the next Find starts at row 0.
    const int end = list->verticalScrollBar()->maximum();
    for (const auto& [text, top, mark] :
         {std::tuple{"$0000", 0, 0}, {"$0500", end, 0x500}, {"no digits", 0, 0}}) {
        Goto(QLatin1String(text));
        EXPECT_EQ(Top(), top) << text;
        EXPECT_EQ(Mark(), mark) << text;
        Find(QString());
        EXPECT_EQ(Mark(), 1) << text;
    }
    EXPECT_EQ(gotoShown, std::vector<QString>(5, QStringLiteral("$0000")));
}

TEST_F(EventFlagsTest, CtrlFAndCtrlGOpenTheDialogsOnlyOnThisPage) {
    ShowFlagsPage();
    window->Tabs()->setCurrentIndex(0);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(dialogsRun, 0);
    window->Tabs()->setCurrentIndex(3);
    AnswerGoto(QStringLiteral("$0020"));
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Mark(), 0x20);
    AnswerFind(QString());
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Mark(), 0x21);
    EXPECT_EQ(dialogsRun, 2);
}

TEST_F(EventFlagsTest, EachOpenLoadsTheOwnFileOrTheDefault) {
    ShowFlagsPage("$0003:Own description\n");
    EXPECT_EQ(Description(0), QString());
    EXPECT_EQ(Description(2), QStringLiteral("Own description\n"));
    const std::string other = dir / "other.zs1";
    std::filesystem::copy_file(state, other);
    // An edit still open when another state is dropped belongs to the first document.
    Click(3, 100, Qt::RightButton);
    ReplaceEditorText(QStringLiteral("Pip's own"));
    window->Doc().OpenIfValid(other);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_NE(OwnFile().find("\n$0003:Own description\n$0004:Pip's own\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "event.other.txt"));
    EXPECT_EQ(Description(0), QStringLiteral("Woke up\n"));
    EXPECT_EQ(Description(2), QString());
    EXPECT_EQ(Description(3), QString());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(EventFlagsTest, AnUnwritableFileKeepsTheEditOnScreenAndTheOldFile) {
    ShowFlagsPage("$0001:Old\n");
    std::filesystem::permissions(dir / "event.vellumgate.txt", std::filesystem::perms::owner_read);
    Click(0, 100, Qt::RightButton);
    ReplaceEditorText(QStringLiteral("New"));
    EndEdit(Qt::Key_Return);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].rfind(msg::kCannotCreateDescriptions, 0), 0u);
    EXPECT_EQ(Description(0), QStringLiteral("New"));
    EXPECT_EQ(OwnFile(), "$0001:Old\n");

    // The edit reaches the file with the next edit that can be written.
    std::filesystem::permissions(dir / "event.vellumgate.txt", std::filesystem::perms::owner_all);
    Click(1, 100, Qt::RightButton);
    EndEdit(Qt::Key_Escape);
    EXPECT_NE(OwnFile().find("'\n$0001:New\n$0002:\n"), std::string::npos);
}

TEST_F(EventFlagsTest, ADescriptionOfAnyLengthSurvivesAnEditUnchanged) {
    std::string longest;
    while (longest.size() < 40000) {
        longest += "the lamplighter's long story " + std::to_string(longest.size()) + " ";
    }
    ShowFlagsPage(("$0002:" + longest + "\n").c_str());
    Click(1, 200, Qt::RightButton);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text().size(), static_cast<qsizetype>(longest.size()));
    EndEdit(Qt::Key_Escape);
    EXPECT_EQ(page->m_descriptions[2], longest);
    EXPECT_NE(OwnFile().find("\n$0002:" + longest + "\n$0003:"), std::string::npos);
}

TEST_F(EventFlagsTest, ADescriptionWiderThanItsColumnShowsWholeInItsTooltip) {
    const std::string wide =
        "A description far too wide for its column, " + std::string(60, 'w') + " and its end";
    ShowFlagsPage(("$0001:Woke up\n$0002:" + wide + "\n").c_str());
    const auto tooltipAt = [this](int row) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        const QPoint point(list->columnViewportPosition(1) + 100, RowPoint(row, 0).y());
        QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tooltipAt(1), QString::fromStdString(wide));
    EXPECT_EQ(tooltipAt(0), QString());  // shown whole already
    // The cell shows the beginning with an ellipsis, not letters cut in half at the edge.
    const QRect cell = list->visualRect(model->index(1, 1));
    const QImage shown = list->viewport()->grab(cell).toImage();
    int inkAtRightEdge = 0;
    for (int y = 0; y < shown.height(); ++y) {
        inkAtRightEdge += shown.pixelColor(shown.width() - 2, y).lightness() < 128 ? 1 : 0;
    }
    EXPECT_EQ(inkAtRightEdge, 0);
    QToolTip::hideText();
}

TEST_F(EventFlagsTest, DescriptionsAreRealCharactersInTheFileTheListAndFind) {
    // A description file from Windows (code page 1252: 0xE9 is "é", 0x80 the euro sign).
    ShowFlagsPage("$0003:caf\xE9\n$0004:Paid 3 ? at the inn\n$0005:Paid 3 \x80 at the mill\n");
    EXPECT_EQ(Description(2), QStringLiteral("caf\u00E9\n"));
    EXPECT_EQ(Description(4), QStringLiteral("Paid 3 \u20AC at the mill\n"));

    // The euro sign typed into Find finds the mill, not the "?" of the inn (the folding of
    // capitals is the core's FlagSearch table).
    Find(QStringLiteral("3 \u20AC"));
    EXPECT_EQ(Top(), 4);

    // A character the code page lacks, typed, makes the file UTF-8 (the core's table has the
    // file's encodings); nothing typed is turned into "?".
    Click(3, 200, Qt::RightButton);
    ReplaceEditorText(QStringLiteral("\u03A9mega gate"));
    EndEdit(Qt::Key_Return);
    EXPECT_NE(OwnFile().find("\n$0003:caf\xC3\xA9\n$0004:\xCE\xA9mega gate\n$0005:Paid 3 "
                             "\xE2\x82\xAC at"),
              std::string::npos);
    EXPECT_EQ(Description(3), QStringLiteral("\u03A9mega gate"));
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace sw::test
