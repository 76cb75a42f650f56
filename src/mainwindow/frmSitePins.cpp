#include "mainwindow/frmSitePins.h"

#include "browser/BookmarkExport.h"
#include "browser/BookmarkImport.h"
#include "browser/BrowserIntegration.h"
#include "browser/BrowserWindows.h"
#include "browser/FavoritesImport.h"
#include "browser/PreviewPane.h"
#include "care/LibraryCare.h"
#include "editing/ClipboardCommands.h"
#include "editing/DeleteCommands.h"
#include "editing/FolderCommands.h"
#include "editing/MoveCommands.h"
#include "editing/SitePinEditor.h"
#include "finding/Favourites.h"
#include "finding/Navigation.h"
#include "finding/Search.h"
#include "finding/Statistics.h"
#include "help/HelpCommands.h"
#include "layout/CommandSurface.h"
#include "layout/HoverHelp.h"
#include "layout/MainWindowLayout.h"
#include "layout/ViewCommands.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/LibraryKeeper.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/RemoteCommands.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePinsUi.h"
#include "mainwindow/frmSplash.h"
#include "platform/InstanceChannel.h"
#include "platform/RegistryFunctions.h"
#include "platform/StateField.h"
#include "store/AtomicFile.h"
#include "store/DefaultLibraryLocation.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <utility>

namespace {

constexpr int kMaxExtentTwips = 32000;

void setWhiteBackground(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
}

} // namespace

frmSitePins::frmSitePins(const ProgramEnvironment &environment, QWidget *parent)
    : QMainWindow(parent)
    , m_environment(environment)
    , m_ui(std::make_unique<frmSitePinsUi>(this))
    , m_objDatabase(std::make_unique<XMLDatabase>())
{
    setObjectName(QStringLiteral("frmSitePins"));
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    // Pane positions are 16-bit twips: past 32767 twips (about 2180 pixels at
    // 96 dpi) the splitters could no longer place anything.
    setMaximumSize(m_ui->scale.toPixelsX(kMaxExtentTwips), m_ui->scale.toPixelsY(kMaxExtentTwips));
    m_preview = std::make_unique<PreviewPane>(*this, environment.previewEngineModule);
    m_folderTree = std::make_unique<FolderTree>(*this);
    m_detailPanel = std::make_unique<DetailPanel>(*this);
    m_editor = std::make_unique<SitePinEditor>(*this);
    m_favourites = std::make_unique<Favourites>(*this);
    m_layout = std::make_unique<MainWindowLayout>(*this);
    m_search = std::make_unique<Search>(*this);
    m_navigation = std::make_unique<Navigation>(*this);
    m_statistics = std::make_unique<Statistics>(*this);
    m_clipboard = std::make_unique<ClipboardCommands>(*this);
    m_folderCommands = std::make_unique<FolderCommands>(*this);
    m_deleteCommands = std::make_unique<DeleteCommands>(*this);
    m_moveCommands = std::make_unique<MoveCommands>(*this);
    m_hoverHelp = std::make_unique<HoverHelp>(*this);
    m_viewCommands = std::make_unique<ViewCommands>(*this);
    m_favoritesImport = std::make_unique<FavoritesImport>(*this);
    m_bookmarkImport = std::make_unique<BookmarkImport>(*this);
    m_bookmarkExport = std::make_unique<BookmarkExport>(*this);
    m_remoteCommands = std::make_unique<RemoteCommands>(*this);
    m_browserWindows = std::make_unique<BrowserWindows>(*this);
    m_browserIntegration = std::make_unique<BrowserIntegration>(*this);
    m_helpCommands = std::make_unique<HelpCommands>(*this);
    m_libraryCare = std::make_unique<LibraryCare>(*this);
    m_keeper = std::make_unique<LibraryKeeper>(*this);
    connectCommandSurface();
    m_ui->client->installEventFilter(this);
}

frmSitePins::~frmSitePins()
{
    if (m_splash)
        delete m_splash.data();
}

void frmSitePins::connectCommandSurface()
{
    CommandSurface *surface = m_ui->commands;
    connect(surface, &CommandSurface::menuCommand, this, [this](const QString &name) { m_commands.run(name); });
    connect(surface, &CommandSurface::toolbarButtonClicked, this,
            [this](int index) { m_commands.run(CommandRouter::commandForToolbarButton(index)); });
    m_commands.on(QStringLiteral("mnuFileOpen"), [this] { mnuFileOpen_Click(); });
    m_commands.on(QStringLiteral("mnuFileExit"), [this] { mnuFileExit_Click(); });
    connect(m_ui->ThunderTextBox, &StateField::changed, m_ui->Timer1, [this] { m_ui->Timer1->start(); });
    connect(m_ui->Timer1, &QTimer::timeout, this, &frmSitePins::Timer1_Timer);
}

bool frmSitePins::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->client && event->type() == QEvent::Resize)
        m_layout->windowResizePass();
    return QMainWindow::eventFilter(watched, event);
}

void frmSitePins::hideSplash()
{
    if (m_splash)
        m_splash->hide();
}

frmSitePins::StartOutcome frmSitePins::prepare()
{
    QDir::setCurrent(m_environment.programFolder);
    m_ui->Timer1->stop();
    m_ui->Timer1->setInterval(5);
    m_ui->Timer1->setSingleShot(true);
    if (const StartOutcome handOver = handOverToRunningInstance(); handOver != StartOutcome::Running)
        return handOver;
    tellAboutDamagedSettings();

    m_splash =
        new frmSplash(this, m_environment.fontAvailable, m_environment.splashFirstTickMs, m_environment.splashPollMs);
    m_splash->show();
    m_splash->repaint();

    prepareBrowsingState();
    resize(m_ui->scale.toPixelsX(10500), m_ui->scale.toPixelsY(7590));
    FontFallback::applyIfMissing(m_environment.fontAvailable, this);

    FileStamp asRead;
    if (openDefaultLibrary(asRead))
        finishWorkingStart(asRead);
    else
        enterDegradedState();
    return StartOutcome::Running;
}

void frmSitePins::prepareBrowsingState()
{
    m_blnAutoPreview = false;
    m_ui->chkAutoPreview->setChecked(false);
    m_editor->setFormEditMode(false);
    m_editor->clearSitePinDisplay(false);
    selectLeftTab(TabIndexSetting::getTabIndexSetting());
    disableForBrowsingStart();
    whitenDetailPanel();
}

// What no selection can use yet: everything that needs a folder or a SitePin.
void frmSitePins::disableForBrowsingStart()
{
    CommandSurface &surface = *m_ui->commands;
    for (int button : {2, 3, 5, 6, 7, 8, 14, 16, 20})
        surface.setButtonEnabled(button, false);
    for (const char *menu : {"mnuEditModify", "mnuEditClip", "mnuEditDelete", "mnuNavigate", "mnuEditDeleteTopic",
                             "mnuToolsOpen", "mnuViewNotes", "mnuViewPreview", "mnuFavs"})
        surface.setEnabled(QString::fromLatin1(menu), false);
    m_ui->cmdMoveFolder->setEnabled(false);
    m_ui->cmdMoveSP->setEnabled(false);
    m_ui->Label5->setVisible(false);
}

void frmSitePins::whitenDetailPanel()
{
    frmSitePinsUi &ui = *m_ui;
    for (QWidget *widget :
         {static_cast<QWidget *>(ui.Frame3), static_cast<QWidget *>(ui.Frame2), static_cast<QWidget *>(ui.Frame1),
          static_cast<QWidget *>(ui.lblAddress), static_cast<QWidget *>(ui.lblWName),
          static_cast<QWidget *>(ui.lblTName), static_cast<QWidget *>(ui.tabInfo),
          static_cast<QWidget *>(ui.lblDescription), static_cast<QWidget *>(ui.lblCreatedDate),
          static_cast<QWidget *>(ui.Label2), static_cast<QWidget *>(ui.Label3), static_cast<QWidget *>(ui.Label4),
          static_cast<QWidget *>(ui.Label6), static_cast<QWidget *>(ui.Label5), ui.Picture1})
        setWhiteBackground(widget);
    QPalette address = ui.lblAddress->palette();
    address.setColor(QPalette::WindowText, QColor(0, 0, 255));
    ui.lblAddress->setPalette(address);
}

// The file is looked at before it is read: a change made while it is
// being read is then seen as a change, never missed.
bool frmSitePins::openDefaultLibrary(FileStamp &asRead)
{
    m_objDatabase = std::make_unique<XMLDatabase>();
    m_objDatabase->setPath(m_environment.libraryPath.isEmpty()
                               ? DefaultLibraryLocation(m_environment.programFolder).resolve()
                               : m_environment.libraryPath);
    m_strLibraryPath = m_objDatabase->getPath();
    asRead = FileStamp::of(m_strLibraryPath);
    return m_objDatabase->openDBValidate(m_strLibraryPath);
}

void frmSitePins::finishWorkingStart(const FileStamp &asRead)
{
    m_objDOMSitePins = m_objDatabase->getTheDOM();
    m_ui->tvwTopics->hide();
    m_folderTree->populateTopicList(m_objDOMSitePins);
    m_folderTree->selectRoot();
    m_keeper->libraryOpened(asRead);
    m_commands.run(QStringLiteral("startupCapture"));
    m_editor->addSitePinFromCapture();
    m_favourites->populateFavsList(m_objDOMSitePins);
    showLibraryAccess();
    if (m_splash)
        m_splash->setUnload();
    showButtonsForTab(selectedLeftTab());
    m_preview->setSilent(true);
}

void frmSitePins::showButtonsForTab(int tab)
{
    frmSitePinsUi &ui = *m_ui;
    ui.cmdMoveSP->setVisible(tab == 0);
    ui.cmdMoveFolder->setVisible(tab == 0);
    ui.cmdSearch->setVisible(tab == 1);
    ui.cmdFAdd->setVisible(tab == 2);
    ui.cmdFDelete->setVisible(tab == 2);
    if (tab == 1) {
        setTabOrder(ui.txtSearch, ui.optSearch[0]);
        ui.txtSearch->setSelection(0, 40);
    }
}

void frmSitePins::enterDegradedState()
{
    if (m_environment.libraryPath.isEmpty())
        message(QStringLiteral("Failed to open the default SitePins.XML file.  Please select another from the "
                               "File->Open menu."));
    else
        message(QStringLiteral("Failed to open the SitePins file %1.  Please select another from the File->Open menu.")
                    .arg(QDir::toNativeSeparators(m_environment.libraryPath)));
    m_degraded = true;
    m_disabledByDegradedStart.clear();
    const auto disable = [this](QObject *element, bool enabled, const std::function<void()> &off) {
        if (!enabled)
            return;
        off();
        m_disabledByDegradedStart.append(element);
    };
    for (QWidget *control : m_ui->client->findChildren<QWidget *>()) {
        if (control == m_ui->Toolbar1 || m_ui->Toolbar1->isAncestorOf(control))
            continue;
        disable(control, !control->testAttribute(Qt::WA_Disabled), [control] { control->setEnabled(false); });
    }
    QList<QAction *> actions = m_ui->commands->allMenuElements();
    for (int index = 1; index <= CommandSurface::kToolbarButtonCount; ++index)
        actions.append(m_ui->commands->toolbarButton(index));
    for (QAction *action : actions)
        disable(action, action->isEnabled(), [action] { action->setEnabled(false); });
    m_ui->commands->setEnabled(QStringLiteral("mnuFile"), true);
    m_ui->commands->setEnabled(QStringLiteral("mnuFileOpen"), true);
    // A library that no longer opens is what backups are for.
    m_ui->commands->setEnabled(QStringLiteral("mnuFileRestore"), true);
    if (m_splash)
        m_splash->setUnload();
}

void frmSitePins::leaveDegradedState()
{
    for (QObject *element : std::as_const(m_disabledByDegradedStart)) {
        if (auto *widget = qobject_cast<QWidget *>(element))
            widget->setEnabled(true);
        else if (auto *action = qobject_cast<QAction *>(element))
            action->setEnabled(true);
    }
    m_disabledByDegradedStart.clear();
    m_degraded = false;
}

MessageAnswer frmSitePins::message(const QString &text, const QString &title, MessageButtons buttons, MessageIcon icon,
                                   MessageAnswer defaultButton)
{
    return m_environment.dialogs->showMessage(this, {text, title, buttons, icon, defaultButton});
}

bool frmSitePins::confirmDiscardChanges()
{
    if (m_ui->txtMode->text().isEmpty())
        return true;
    return message(QStringLiteral("You are about to lose unsaved changes - do you wish to continue?"),
                   QStringLiteral("Unsaved changes"), MessageButtons::YesNo, MessageIcon::None,
                   MessageAnswer::Yes) != MessageAnswer::No;
}

SaveResult frmSitePins::saveLibraryQuietly(bool *declined)
{
    // Kept in memory, as after a failed save, when the user keeps a file
    // changed outside.
    const bool overwrite = m_keeper->mayOverwrite();
    if (declined)
        *declined = !overwrite;
    if (!overwrite)
        return SaveResult::failure(
            QStringLiteral("The file was changed outside SitePins Manager and was kept as it is."));
    const SaveResult result = m_keeper->save(m_objDOMSitePins, m_strLibraryPath);
    showLibraryAccess();
    if (result.ok)
        emit librarySaved();
    return result;
}

bool frmSitePins::saveLibrary()
{
    bool declined = false;
    const SaveResult result = saveLibraryQuietly(&declined);
    if (result.ok || declined)
        return result.ok;
    message(QStringLiteral("Your change could not be saved to the SitePins file.\n\n%1\n\nThe change is kept while the "
                           "program runs and will be written by the next successful save.")
                .arg(result.errorString),
            QString::fromLatin1(kWindowTitle), MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
}

// A library marked read-only takes no changes; the spare status bar panel
// says so from the moment it is opened. A library that is saved but not
// backed up says that instead.
void frmSitePins::showLibraryAccess()
{
    QString text, tip;
    if (AtomicFile::isReadOnly(m_strLibraryPath)) {
        text = QStringLiteral("Read-only");
    } else if (!m_keeper->backupTrouble().isEmpty()) {
        text = QString::fromLatin1(LibraryKeeper::kBackupFailedPanelText);
        tip = m_keeper->backupTrouble();
    }
    m_ui->StatusBar1->setPanelText(3, text);
    m_ui->StatusBar1->panel(3)->setToolTip(tip);
}

int frmSitePins::selectedLeftTab() const
{
    return m_ui->tabIndex->currentIndex();
}

void frmSitePins::selectLeftTab(int tab)
{
    if (m_ui->tabIndex->currentIndex() == tab)
        m_layout->tabIndex_Click(); // the switch rules run even when the tab is already shown
    else
        m_ui->tabIndex->setCurrentIndex(tab);
}

bool frmSitePins::confirmOpeningAnother()
{
    return !m_blnEditMode ||
           message(QStringLiteral("Opening a new SitePins file will lose any unsaved changes.  Are you sure?"),
                   QStringLiteral("Exit SitePins application?"), MessageButtons::YesNo, MessageIcon::None,
                   MessageAnswer::Yes) != MessageAnswer::No;
}

void frmSitePins::mnuFileOpen_Click()
{
    if (!confirmOpeningAnother())
        return;
    const QString chosen = m_environment.dialogs->getOpenFileName(
        this, {QStringLiteral("Open SitePins file"), QFileInfo(m_strLibraryPath).absolutePath(),
               QStringLiteral("SitePins files (*.xml *.XML)")});
    if (chosen.isEmpty())
        return;
    openLibraryFile(chosen);
}

bool frmSitePins::openLibraryFile(const QString &path)
{
    const FileStamp asRead = FileStamp::of(path);
    auto database = std::make_unique<XMLDatabase>();
    database->setPath(path);
    if (!database->openDBValidate(path)) {
        message(QStringLiteral("Failed to open the SitePins file"));
        return false;
    }
    m_objDatabase = std::move(database);
    m_strLibraryPath = path;
    m_objDOMSitePins = m_objDatabase->getTheDOM();
    if (m_degraded)
        leaveDegradedState();
    m_keeper->libraryOpened(asRead);
    resetAfterOpen();
    return true;
}

bool frmSitePins::reopenLibrary()
{
    const QTreeWidgetItem *selected = m_folderTree->selectedNode();
    const QString folder = selected ? TreeNode::tagOf(selected) : QString();
    if (!openLibraryFile(m_strLibraryPath))
        return false;
    if (QTreeWidgetItem *node = folder.isEmpty() ? nullptr : m_folderTree->findNodeByTag(folder)) {
        m_folderTree->selectNode(node);
        m_folderTree->tvwTopics_NodeClick();
    }
    return true;
}

void frmSitePins::resetAfterOpen()
{
    frmSitePinsUi &ui = *m_ui;
    ui.tvwTopics->hide();
    m_folderTree->populateTopicList(m_objDOMSitePins);
    m_folderTree->selectRoot();
    m_editor->clearEditFields();
    ui.lblTName->setCaption(QString::fromLatin1(DetailPanel::kNoFolderSelected));
    FolderTree::clearList(ui.tvwWM);
    m_blnAutoPreview = false;
    ui.chkAutoPreview->setChecked(false);
    m_editor->setFormEditMode(false);
    m_editor->clearSitePinDisplay(false);
    // Whatever the last file's edit left in the mode goes with it.
    ui.txtMode->setText(QString());
    selectLeftTab(TabIndexSetting::getTabIndexSetting());
    disableForBrowsingStart();
    m_search->clearResults();
    // The last library's texts go before the new one's are read.
    m_textIndex.clear();
    m_favourites->populateFavsList(m_objDOMSitePins);
    showLibraryAccess();
}

void frmSitePins::mnuFileExit_Click()
{
    if (m_blnEditMode && message(QStringLiteral("Are you sure you wish exit SitePins with unsaved changes?"),
                                 QStringLiteral("Exit SitePins application?"), MessageButtons::YesNo, MessageIcon::None,
                                 MessageAnswer::Yes) != MessageAnswer::Yes)
        return;
    runEndSequence();
}

void frmSitePins::closeEvent(QCloseEvent *event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    if (m_blnEditMode && message(QStringLiteral("Are you sure you wish exit SitePins with unsaved changes?"),
                                 QStringLiteral("Exit SitePins application?"), MessageButtons::YesNo, MessageIcon::None,
                                 MessageAnswer::Yes) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    runEndSequence();
}

void frmSitePins::runEndSequence()
{
    if (m_ending)
        return;
    m_ending = true;
    TabIndexSetting::setSavedFormValues(selectedLeftTab());
    m_helpCommands->closeHelp();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && (window == m_splash.data() || isAncestorOf(window) || window->parent() == this))
            window->close();
    }
    close();
    if (m_environment.endProgram)
        m_environment.endProgram();
}

frmSitePins::StartOutcome frmSitePins::handOverToRunningInstance()
{
    m_instance = std::make_unique<InstanceChannel>(m_environment.instanceName);
    const auto listen = [this] {
        connect(m_instance.get(), &InstanceChannel::messageReceived, this, [this](const Message &received) {
            if (received.is(MessageType::HandOver))
                receiveHandOver(received.text());
            else if (received.is(MessageType::OpenLibrary))
                receiveOpenLibrary(received.text());
            else if (const auto page = CapturedPage::fromMessage(received))
                receiveCapturedPage(*page);
        });
        connect(m_instance.get(), &InstanceChannel::requestReceived, this,
                [this](const Message &command, FrameServer::ConnectionId connection) {
                    m_instance->reply(connection, m_remoteCommands->answer(command));
                });
    };
    if (m_instance->tryBecomePrimary()) {
        listen();
        return StartOutcome::Running;
    }
    if (!m_instance->isHeldByAnother()) {
        // Run on alone rather than not at all, but not unknowingly: a second
        // start would then open a second window on the same library.
        message(QStringLiteral("SitePins Manager cannot check whether it is already running: %1.\n\nIt runs on "
                               "its own; do not start it again while this window is open, or two windows could "
                               "change the same library.")
                    .arg(m_instance->errorString()),
                QString::fromLatin1(kApplicationTitle), MessageButtons::Ok, MessageIcon::Exclamation);
        return StartOutcome::Running;
    }
    setWindowTitle(QStringLiteral("oldForm"));
    const Message handOver = m_environment.pageToCapture            ? m_environment.pageToCapture->toMessage()
                             : !m_environment.libraryPath.isEmpty() ? Message::openLibrary(m_environment.libraryPath)
                                                                    : Message::handOver(freshHandOverText());
    if (m_instance->sendToPrimary(handOver, m_environment.handOverTimeoutMs))
        return StartOutcome::HandedOver;
    // The name was held by a command-line start that has ended meanwhile.
    if (m_instance->tryBecomePrimary()) {
        setWindowTitle(QString::fromLatin1(kWindowTitle));
        listen();
        return StartOutcome::Running;
    }
    message(QString::fromLatin1(kNoAnswerText), QString::fromLatin1(kWindowTitle), MessageButtons::Ok,
            MessageIcon::Exclamation);
    return StartOutcome::NoAnswer;
}

void frmSitePins::tellAboutDamagedSettings()
{
    if (m_environment.damagedSettingsMovedTo.isEmpty())
        return;
    const QString damaged = RegistryFunctions::registryFilePath(RegistryRoot::HKEY_CURRENT_USER);
    message(QStringLiteral("The settings file %1 was damaged and has been moved aside to %2.\n\nSitePins Manager "
                           "starts with its default settings.")
                .arg(QDir::toNativeSeparators(damaged), QDir::toNativeSeparators(m_environment.damagedSettingsMovedTo)),
            QString::fromLatin1(kApplicationTitle), MessageButtons::Ok, MessageIcon::Exclamation);
}

void frmSitePins::receiveHandOver(const QString &text)
{
    const bool changes = m_ui->ThunderTextBox->text() != text;
    m_ui->ThunderTextBox->setText(text);
    // Every hand-over is a fresh request, even should the number repeat.
    if (!changes)
        m_ui->Timer1->start();
    bringToFront();
}

void frmSitePins::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmSitePins::receiveOpenLibrary(const QString &path)
{
    bringToFront();
    const bool waiting = !m_pendingLibrary.isEmpty();
    m_pendingLibrary = path;
    if (!waiting)
        openPendingLibrary();
}

// A dialog open over the window works on the library it shows: the other
// library waits until it is closed. Of several, the last one named wins.
void frmSitePins::openPendingLibrary()
{
    if (m_pendingLibrary.isEmpty())
        return;
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, &frmSitePins::openPendingLibrary);
        return;
    }
    const QString path = std::exchange(m_pendingLibrary, QString());
    const QString open = QFileInfo(m_strLibraryPath).canonicalFilePath();
    if (!m_degraded && !open.isEmpty() && open == QFileInfo(path).canonicalFilePath())
        return;
    if (m_blnEditMode &&
        message(QStringLiteral("Opening a new SitePins file will lose any unsaved changes.  Are you sure?"),
                QStringLiteral("Exit SitePins application?"), MessageButtons::YesNo, MessageIcon::None,
                MessageAnswer::Yes) == MessageAnswer::No)
        return;
    openLibraryFile(path);
}

// A fresh number each time, so that two hand-overs in a row still differ.
QString frmSitePins::freshHandOverText()
{
    return QString::number(QRandomGenerator::system()->bounded(1, 1000001));
}

// The page goes the way of every hand-over, through ThunderTextBox and
// Timer1, whose capture then takes this page and no other.
void frmSitePins::receiveCapturedPage(const CapturedPage &page)
{
    m_browserWindows->handOverPage(page);
    receiveHandOver(freshHandOverText());
}

void frmSitePins::Timer1_Timer()
{
    m_ui->Timer1->stop();
    m_commands.run(QStringLiteral("timerCapture"));
}
