#include "MainDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "AboutText.h"
#include "DropComplaints.h"
#include "GameText.h"
#include "GoodsSecrets.h"
#include "Messages.h"
#include "MovieFiles.h"
#include "PathRules.h"
#include "PickleStory.h"
#include "pages/ControlIds.h"
#include "pages/DialogTemplate.h"
#include "pages/EventFlagsPage.h"
#include "pages/FlagListCtrl.h"
#include "pages/FlagListModel.h"
#include "pages/GameTextShown.h"
#include "pages/GoodsPage.h"
#include "pages/MiscPage.h"
#include "pages/StatsPage.h"
#include "platform/DocumentOpener.h"
#include "platform/FileDialogs.h"
#include "platform/SoundPlayer.h"
#include "platform/UserFolders.h"
#include "shell/AboutDlg.h"
#include "shell/CompareDlg.h"
#include "shell/ConfigCommands.h"
#include "shell/RestoreBackupDlg.h"

namespace sw::ui {
namespace {

constexpr int kPickleSound = 191;

// Takes a drag that carries files, as a copy or a link only: a source that is told Move may
// delete its originals.
bool TakeFiles(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); })) {
        for (Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
            if (event->possibleActions() & action) {
                event->setDropAction(action);
                event->accept();
                return true;
            }
        }
    }
    event->ignore();
    return false;
}

// Tab labels are 16 characters each, padded with spaces.
const char* const kTabLabels[] = {"Player Stats    ", "Goods           ", "Misc.           ",
                                  "Event Flags     "};

}  // namespace

MainDlg::MainDlg(QString commandLineFile, Platform platform, std::vector<std::string> dataFolders,
                 QString settingsFile, QWidget* parent)
    : QDialog(parent),
      m_commandLineFile(std::move(commandLineFile)),
      m_platform(platform),
      m_dataFolders(std::move(dataFolders)),
      m_settingsFile(std::move(settingsFile)) {
    setObjectName(QStringLiteral("102"));
    // A top-level window of fixed size with a minimise box, shown on the taskbar.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QLatin1String(kPlainTitle));
    setWindowIcon(QIcon(ResourcePicture(QStringLiteral("icon/128"), "PNG")));
    setAcceptDrops(true);
    ApplyDialogFont(this);
    CreateWidgets();
    OnInitDialog();
    // Edit boxes would take dropped files as text; the filter sends the drag on to the window.
    qApp->installEventFilter(this);
}

MainDlg::~MainDlg() {
    qApp->removeEventFilter(this);
    // The pages go while the document they show still exists: hiding the window as it is
    // destroyed would otherwise have the flag list read a record already gone.
    delete m_client;
}

void MainDlg::CreateWidgets() {
    m_menuBar = new QMenuBar(this);
    // In the font of its drop-down menus, not in the window's shrunken dialog font.
    m_menuBar->setFont(QApplication::font("QMenu"));
    CreateActions();  // the menu bar's height depends on its menus
    m_client = new QWidget(this);
    const QRect client = DluRect(0, 0, 320, 166);
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, client.width(), menuHeight);
    m_client->setGeometry(0, menuHeight, client.width(), client.height());
    setFixedSize(client.width(), client.height() + menuHeight);

    m_save = AddButton(m_client, id::kSave, QStringLiteral("&Save"), DluRect(106, 149, 50, 14));
    m_save->setDefault(true);
    m_close = AddButton(m_client, id::kClose, QStringLiteral("&Close"), DluRect(162, 149, 50, 14));
    m_tab = new QTabWidget(m_client);
    m_tab->setObjectName(IdName(id::kTab));
    m_tab->setGeometry(DluRect(3, 1, 314, 144));
    m_tab->setFocusPolicy(Qt::NoFocus);
    m_tab->tabBar()->setFocusPolicy(Qt::NoFocus);
    // The tab control never takes the focus, so its pages are reached by keyboard this way.
    const auto step = [this](int delta) {
        m_tab->setCurrentIndex((m_tab->currentIndex() + delta + m_tab->count()) % m_tab->count());
    };
    for (QKeySequence keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    }
    // Ctrl+Shift+Tab arrives as Backtab, but shortcuts see the Tab key under it.
    for (QKeySequence keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                              QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });
    }
    connect(m_save, &QPushButton::clicked, this, [this] { m_document->SaveDocument(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void MainDlg::CreateActions() {
    const auto add = [this](QMenu* menu, int commandId, const char* text, auto handler,
                            QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setObjectName(QString::number(commandId));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto* file = new FileMenu(QStringLiteral("&File"), m_menuBar);
    m_menuBar->addMenu(file);
    add(
        file, 57601, "&Open", [this] { m_document->OnFileOpen(); }, QKeySequence::Open);
    add(
        file, 57602, "&Close", [this] { m_document->CloseDocument(); },
        QKeySequence(Qt::CTRL | Qt::Key_W));
    add(
        file, 32773, "&Save Changes", [this] { m_document->SaveDocument(); }, QKeySequence::Save);
    m_revert = add(file, kRevertCommand, "&Revert", [this] { m_document->RevertToDisk(); });
    m_revert->setEnabled(false);  // until a document is open
    add(file, kRestoreBackupCommand, "Restore &Backup...",
        [this] { RestoreBackupOfOpenState(*m_document, m_platform.prompter, this); });
    file->addSeparator();
    // For a ROM kept apart from the states, as RetroArch and ares keep them.
    m_chooseRom =
        add(file, kChooseRomCommand, "ROM &image...", [this] { m_document->OnChooseRom(); });
    m_chooseRom->setEnabled(false);
    QAction* exitSeparator = file->addSeparator();
    m_recent = new RecentFiles(file, exitSeparator, m_settingsFile,
                               [this](const std::string& path) { m_document->OpenChosen(path); });
    add(
        file, 32774, "E&xit", [this] { reject(); }, QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* tools = m_menuBar->addMenu(QStringLiteral("&Tools"));
    add(tools, 32777, "Save Config", [this] { SaveConfig(); });
    add(tools, 32779, "Save Config &As...", [this] { SaveConfigAs(); });
    tools->addSeparator();
    add(tools, 32778, "Load Config...", [this] { LoadConfig(); });
    tools->addSeparator();
    add(tools, kCompareCommand, "&Compare with...", [this] {
        CompareWithOtherState(*m_document, m_platform.dialogs, m_platform.prompter, this);
    });
    tools->addSeparator();
    add(tools, 32782, "Edit default event flag descriptions",
        [this] { OnEditEventDescriptions(); });

    QMenu* help = m_menuBar->addMenu(QStringLiteral("&Help"));
    add(help, 32780, "&Readme", [this] { OnHelpReadme(); });
    add(help, 32783, "What's New", [this] { OnHelpWhatsNew(); });
    help->addSeparator();
    add(help, 32776, "About...", [this] { OnAbout(); });
}

void MainDlg::OnInitDialog() {
    for (const char* label : kTabLabels) {
        m_tab->addTab(new QWidget, QString::fromLatin1(label));
    }
    // The pages lie over the tab control's display area, in this order.
    m_pages.stats = new StatsPage(m_platform.sounds, m_client);
    m_pages.goods = new GoodsPage(m_platform.sounds, m_platform.prompter, m_client);
    m_pages.misc = new MiscPage(m_platform.sounds, m_platform.prompter, m_client);
    m_pages.flags = new EventFlagsPage(m_platform.prompter, m_client);
    m_document = std::make_unique<Document>(m_pages, m_platform.prompter, m_platform.dialogs, *this,
                                            m_dataFolders);
    m_pages.flags->m_gameState = &m_document->gameState;
    m_pages.goods->m_backups = &m_document->backups;
    m_config =
        std::make_unique<ConfigCommands>(*m_document, m_platform.dialogs, m_platform.prompter);

    m_pages.goods->hide();
    m_pages.misc->hide();
    m_pages.flags->hide();
    m_pages.stats->show();
    g_currentPage = m_pages.stats;
    connect(m_tab, &QTabWidget::currentChanged, this, &MainDlg::OnTabSelChange);
    // Either character list shows the chosen member, after gathering the one shown so far.
    const auto choose = [this](int index) { m_document->Transfer().SwitchCharacter(index, true); };
    connect(m_pages.stats, &StatsPage::characterChosen, this, choose);
    connect(m_pages.goods, &GoodsPage::characterChosen, this, choose);

    WatchEdits();
    m_document->gameState.NumberMembers();
    m_document->Transfer().SwitchCharacter(0, false);
    // Both look in the folder the program was started in first, before any move below.
    LoadAboutText();
    ExtractMovieFiles();

    if (!m_commandLineFile.isEmpty()) {
        // Made absolute first, so that a path relative to where the program was started still
        // names the same file once the working directory is the file's folder.
        const QString path = QFileInfo(m_commandLineFile).absoluteFilePath();
        QDir::setCurrent(QFileInfo(path).absolutePath());
        m_document->OpenIfValid(QFile::encodeName(path).toStdString());
    }
}

void MainDlg::SetTitle(const QString& title) {
    setWindowTitle(title + QStringLiteral("[*]"));  // where the mark of unsaved edits goes
}

void MainDlg::StateOpened(const std::string& path) {
    m_recent->Add(path);
}

std::string MainDlg::RomChosenFor(const std::string& statePath) {
    return m_recent->RomFor(statePath);
}

void MainDlg::RomChosen(const std::string& statePath, const std::string& romPath) {
    m_recent->SetRom(statePath, romPath);
}

void MainDlg::ShowUnsavedMark(bool unsaved) {
    setWindowModified(unsaved);
    m_revert->setEnabled(m_document != nullptr && m_document->HasOpenFile());
    m_chooseRom->setEnabled(m_revert->isEnabled());
}

void MainDlg::WatchEdits() {
    m_markTimer = new QTimer(this);
    m_markTimer->setSingleShot(true);
    m_markTimer->setInterval(0);
    connect(m_markTimer, &QTimer::timeout, this, [this] { m_document->UpdateUnsavedMark(); });
    const auto look = [this] { m_markTimer->start(); };
    for (QWidget* page : std::initializer_list<QWidget*>{m_pages.stats, m_pages.misc}) {
        for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
            connect(edit, &QLineEdit::textEdited, this, look);
        }
    }
    for (QAbstractItemModel* model : std::initializer_list<QAbstractItemModel*>{
             m_pages.goods->findChild<QAbstractItemView*>(IdName(id::kGoodsList))->model(),
             m_pages.flags->FlagModel()}) {
        connect(model, &QAbstractItemModel::dataChanged, this, look);
        connect(model, &QAbstractItemModel::rowsInserted, this, look);
        connect(model, &QAbstractItemModel::modelReset, this, look);
    }
}

void MainDlg::LoadAboutText() {
    g_aboutText = ReadAboutText(FindDataFile(m_dataFolders, kAboutFile));
}

void MainDlg::ExtractMovieFiles() {
    const QString folder = UserDataFolder();
    if (folder.isEmpty()) {
        return;  // nowhere to copy them: the movies stay empty, as with no data file
    }
    // Without the data file, a missing copy is created empty, as the loader's rules say.
    sw::ExtractMovieFiles(FindDataFile(m_dataFolders, kMovieDataFile),
                          QFile::encodeName(folder).toStdString());
    m_pages.misc->SetMovieFolder(folder);
}

void MainDlg::CheckGoodsSecrets() {
    const GameState& state = m_document->gameState;
    GoodsPage* goods = m_pages.goods;
    bool messageShown = false;
    if (CarriesSecretItem(state)) {
        goods->ShowSecretText(ShownTextBlock(GoodsSecretMessage(
            TextOf(state.characters[0].name), goods->m_itemNames[kSecretItemCode])));
        messageShown = true;
    }
    if (CarriesPickle(state, goods->m_itemNames)) {
        m_platform.sounds.Play(kPickleSound);
        goods->ShowSecretText(ShownTextBlock(PickleStoryText()));
    } else if (!messageShown) {
        goods->HideSecretText();
    }
}

void MainDlg::OnTabSelChange() {
    // Read before hiding: hiding a page moves the focus away from its character list.
    const bool statsComboFocused = m_pages.stats->m_characterComboHasFocus;
    const bool goodsComboFocused = m_pages.goods->m_characterComboHasFocus;
    QWidget* const pages[] = {m_pages.stats, m_pages.goods, m_pages.misc, m_pages.flags};
    const int selection = m_tab->currentIndex();
    if (selection < 0 || selection > 3) {
        return;
    }
    // A hidden page would hand its focus on to the next control, the Save button, where a
    // Space saves: the focus leaves the hidden page for the window itself instead.
    QWidget* focused = QApplication::focusWidget();
    for (int i = 0; i < 4; ++i) {
        if (i != selection) {
            if (focused != nullptr && pages[i]->isAncestorOf(focused)) {
                setFocus(Qt::OtherFocusReason);
            }
            pages[i]->hide();
        }
    }
    pages[selection]->show();
    g_currentPage = pages[selection];
    if (selection == 0 && goodsComboFocused) {
        m_pages.stats->CharacterCombo()->setFocus();
    } else if (selection == 1 && statsComboFocused) {
        m_pages.goods->CharacterCombo()->setFocus();
    }
}

void MainDlg::OnDropFiles(const QStringList& paths) {
    if (paths.size() > 1) {
        m_platform.prompter.ShowMessage(DropComplaint(g_dropComplaintIndex));
        g_dropComplaintIndex = NextDropComplaint(g_dropComplaintIndex);
    } else if (paths.size() == 1) {
        m_document->OpenIfValid(QFile::encodeName(paths.front()).toStdString());
    }
}

void MainDlg::dragEnterEvent(QDragEnterEvent* event) {
    TakeFiles(event);
}

void MainDlg::dragMoveEvent(QDragMoveEvent* event) {
    TakeFiles(event);
}

void MainDlg::dropEvent(QDropEvent* event) {
    if (!TakeFiles(event)) {
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    OnDropFiles(paths);
}

bool MainDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget == this || !isAncestorOf(widget) ||
        !static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
        return false;  // text dragged between our own boxes stays theirs
    }
    // Refused here, the drag goes up to the parents and reaches the window.
    event->ignore();
    return true;
}

void MainDlg::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDlg::done(int result) {
    m_pages.goods->FinishRename();
    m_pages.flags->FlagList()->EndLabelEdit();
    QDialog::done(result);
}

void MainDlg::SaveConfig() {
    m_config->SaveConfig();
}

void MainDlg::SaveConfigAs() {
    m_config->SaveConfigAs();
}

void MainDlg::LoadConfig() {
    m_config->LoadConfig();
    m_document->UpdateUnsavedMark();
}

void MainDlg::OpenProgramDocument(const DataFile& file) {
    const std::string path = FindDataFile(m_dataFolders, file);
    if (path.empty()) {
        m_platform.prompter.ShowMessage(msg::kDocumentMissing + std::string(file.name) +
                                        "\n\nLooked for in this order:\n" +
                                        FolderLines(m_dataFolders));
    } else if (!m_platform.opener.Open(QFile::decodeName(path.c_str()))) {
        m_platform.prompter.ShowMessage(msg::kDocumentNotOpened + path);
    }
}

void MainDlg::OnEditEventDescriptions() {
    OpenProgramDocument(kDefaultDescriptionsFile);
}

void MainDlg::OnHelpReadme() {
    OpenProgramDocument(kReadmeFile);
}

void MainDlg::OnHelpWhatsNew() {
    OpenProgramDocument(kWhatsNewFile);
}

void MainDlg::OnAbout() {
    AboutDlg about(g_aboutText, this);
    about.exec();
}

}  // namespace sw::ui
