// A fresh main window on the demo files in a temporary folder, with the platform scripted:
// messages recorded, questions answered from a script, file dialogs returning set paths,
// sounds recorded by id.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <deque>
#include <memory>

#include "DataFiles.h"
#include "Demo.h"
#include "RecordingPrompter.h"
#include "TestFiles.h"
#include "pages/StatsPage.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/SoundPlayer.h"
#include "shell/MainDlg.h"

// Failure messages show texts as text, not as a list of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace sw::test {

class ScriptedFileDialogs : public ui::FileDialogs {
public:
    QString GetOpenFileName(const QString& filter) override {
        filters.push_back(filter);
        return Next();
    }
    QString GetSaveFileName(const QString& filter, const QString&) override {
        filters.push_back(filter);
        return Next();
    }
    std::deque<QString> paths;  // empty string: the user cancels
    std::vector<QString> filters;

private:
    QString Next() {
        if (paths.empty()) {
            return {};
        }
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
};

class RecordingSoundPlayer : public ui::SoundPlayer {
public:
    void Play(int id) override { played.push_back(id); }
    std::vector<int> played;
};

class RecordingOpener : public ui::DocumentOpener {
public:
    bool Open(const QString& path) override {
        opened.push_back(path);
        return succeed;
    }
    std::vector<QString> opened;
    bool succeed = true;
};

class EditorTest : public testing::Test {
protected:
    EditorTest() : m_cwd(std::filesystem::current_path().string()) {
        // The movie copies go to the per-user data folder: here, one of the test's own.
        m_dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir / "data"));
        state = dir / kDemoStateName;
        rom = dir / kDemoRomName;
        WriteBytes(state, MakeDemoState());
        WriteBytes(rom, MakeDemoRom());
        // A default description file, so that opening shows no message about it.
        std::ofstream(dir / "event.txt") << "'test descriptions\n$0001:Woke up\n";
    }
    ~EditorTest() override {
        std::filesystem::current_path(m_cwd);
        if (m_dataHome.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", m_dataHome);
        }
    }

    // The main window as the program starts it, optionally with a command-line file.
    ui::MainDlg& Start(const QString& commandLineFile = {}) {
        window = std::make_unique<ui::MainDlg>(commandLineFile,
                                               ui::Platform{prompter, dialogs, sounds, opener},
                                               DataFolders(), SettingsFile());
        return *window;
    }

    // As the program searches, from the current folder, with the test's folder standing for the
    // program's, so that no installed copy is ever looked at.
    std::vector<std::string> DataFolders() const {
        return DataSearchFolders(std::filesystem::current_path(), dir.Path(),
                                 (dir / "xdg").c_str());
    }

    // The test's own, so that no user's list of recent files is read or written.
    QString SettingsFile() const { return QString::fromStdString(dir / "statewright.conf"); }

    ui::Pages Pages() const { return window->PageSet(); }

    // The window shown and active, so that focus and keys behave as on a desktop.
    void ShowActive() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Drops files on the middle of `widget` as the window system delivers a drag: it enters
    // the child under the pointer and goes up its parents until one takes it; the drop then
    // goes to the one that took it. The files come as URLs and, as file managers offer them,
    // as text too. Returns the action the drop was taken with, or IgnoreAction if refused.
    Qt::DropAction DropOn(QWidget* widget, const QStringList& paths,
                          Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint inWindow = widget->mapTo(window.get(), widget->rect().center());
        QWidget* target = window->childAt(inWindow);
        target = target != nullptr ? target : window.get();
        const QPointF at = target->mapFrom(window.get(), inWindow);
        QList<QUrl> urls;
        QStringList lines;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
            lines << urls.back().toString();
        }
        QMimeData data;
        data.setUrls(urls);
        data.setText(lines.join(QLatin1Char('\n')));
        QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) {
            return Qt::IgnoreAction;
        }
        QDropEvent drop(at, actions, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }

    template <typename Widget = QLineEdit>
    Widget* Control(QWidget* page, int id) const {
        return page->findChild<Widget*>(QString::number(id));
    }

    // Replaces the text of an edit box by typing, as a user does.
    void Type(QWidget* page, int id, const QString& text) {
        QLineEdit* edit = Control(page, id);
        ASSERT_NE(edit, nullptr) << id;
        ASSERT_TRUE(edit->isEnabled()) << id;
        ReplaceByTyping(edit, text);
    }

    // Selects all of a line edit's text, deletes it and types, one key event a character as
    // a keyboard or input method sends them (any character, not only ASCII).
    static void ReplaceByTyping(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        for (qsizetype i = 0; i < text.size(); ++i) {
            // A character beyond U+FFFF comes as one key event holding both UTF-16 units.
            const qsizetype units = text[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text.mid(i, units),
                                Qt::NoModifier);
            i += units - 1;
        }
    }

    // A click delivered to whatever lies at that point of the page, as the window system does.
    static void ClickAt(QWidget* page, QPoint point) {
        QWidget* target = page->childAt(point);
        if (target == nullptr) {
            target = page;
        }
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(page, point));
    }

    QString Shown(QWidget* page, int control) const { return Control(page, control)->text(); }

    // Chooses an entry of a combo box as a click in its list does.
    static void Choose(QComboBox* combo, int index) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // The ids of the page's controls that Tab reaches, in the order it reaches them from `first`.
    static QString FocusOrder(QWidget* page, QWidget* first) {
        QStringList order;
        QWidget* widget = first;
        do {
            if (widget->parentWidget() == page && widget->focusPolicy() & Qt::TabFocus &&
                !widget->isHidden()) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != first);
        return order.join(QLatin1Char(' '));
    }

    void Trigger(int commandId) {
        QAction* action = window->findChild<QAction*>(QString::number(commandId));
        ASSERT_NE(action, nullptr) << commandId;
        action->trigger();
    }

    // The title as the window manager shows it: Qt's "[*]" becomes "*" while the window is
    // marked modified and vanishes otherwise.
    QString ShownTitle() const {
        QString title = window->windowTitle();
        return title.replace(QStringLiteral("[*]"),
                             window->isWindowModified() ? QStringLiteral("*") : QString());
    }

    static QString Title(const char* fileName = nullptr) {
        return fileName == nullptr ? QStringLiteral("Vellumgate Save State Editor")
                                   : QStringLiteral("Vellumgate Save State Editor - %1")
                                         .arg(QLatin1String(fileName));
    }

    TempDir dir;
    std::string state;
    std::string rom;
    RecordingPrompter prompter;
    ScriptedFileDialogs dialogs;
    RecordingSoundPlayer sounds;
    RecordingOpener opener;
    std::unique_ptr<ui::MainDlg> window;

private:
    std::string m_cwd;
    QByteArray m_dataHome;
};

}  // namespace sw::test
