#pragma once

#include "layout/CommandRouter.h"
#include "mainwindow/ProgramEnvironment.h"
#include "platform/ui/UserDialogs.h"
#include "store/FileStamp.h"
#include "store/SitePinTextIndex.h"
#include "store/XMLDatabase.h"
#include "store/XmlDocument.h"

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>

#include <memory>

class BookmarkExport;
class BookmarkImport;
class BrowserIntegration;
class BrowserWindows;
class ClipboardCommands;
class DeleteCommands;
class DetailPanel;
class FavoritesImport;
class Favourites;
class FolderCommands;
class FolderTree;
class HelpCommands;
class HoverHelp;
class InstanceChannel;
class LibraryCare;
class LibraryKeeper;
class MainWindowLayout;
class MoveCommands;
class Navigation;
class PreviewPane;
class RemoteCommands;
class Search;
class SitePinEditor;
class Statistics;
class ViewCommands;
class frmSplash;
struct frmSitePinsUi;

// The main window: it owns the widgets, the open library and the state the
// rest of the program reads and writes, and it runs the program's start,
// File > Open and end. What each command does lives in its own part of the
// program, which reaches the window through these members.
class frmSitePins : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char *kWindowTitle = "SitePins Manager";
    // Title of message boxes that name none of their own.
    static constexpr const char *kApplicationTitle = "SitePins";

    static constexpr const char *kNoAnswerText =
        "SitePins Manager is already running but does not respond. Close it, or end it from the system monitor, "
        "and start SitePins Manager again.";

    enum class StartOutcome
    {
        Running,
        // Another instance was running and took the start over.
        HandedOver,
        // Another instance holds the start but did not answer; the user was told.
        NoAnswer,
    };

    explicit frmSitePins(const ProgramEnvironment &environment, QWidget *parent = nullptr);
    ~frmSitePins() override;

    // Runs the window's preparation. Unless Running, the program then ends.
    StartOutcome prepare();
    bool isDegraded() const { return m_degraded; }
    // Out of the way of a dialog shown while the window prepares.
    void hideSplash();

    frmSitePinsUi &ui() { return *m_ui; }
    const ProgramEnvironment &environment() const { return m_environment; }
    CommandRouter &commands() { return m_commands; }
    XMLDatabase &getMyDB() { return *m_objDatabase; }
    // The SitePins' texts as the Search and Fav's tabs read them.
    SitePinTextIndex &textIndex() { return m_textIndex; }

    FolderTree &folderTree() { return *m_folderTree; }
    DetailPanel &detailPanel() { return *m_detailPanel; }
    SitePinEditor &editor() { return *m_editor; }
    Favourites &favourites() { return *m_favourites; }
    PreviewPane &preview() { return *m_preview; }
    MainWindowLayout &layoutPasses() { return *m_layout; }
    Search &search() { return *m_search; }
    Navigation &navigation() { return *m_navigation; }
    Statistics &statistics() { return *m_statistics; }
    ClipboardCommands &clipboard() { return *m_clipboard; }
    FolderCommands &folderCommands() { return *m_folderCommands; }
    DeleteCommands &deleteCommands() { return *m_deleteCommands; }
    MoveCommands &moveCommands() { return *m_moveCommands; }
    HoverHelp &hoverHelp() { return *m_hoverHelp; }
    ViewCommands &viewCommands() { return *m_viewCommands; }
    FavoritesImport &favoritesImport() { return *m_favoritesImport; }
    BookmarkImport &bookmarkImport() { return *m_bookmarkImport; }
    BrowserWindows &browserWindows() { return *m_browserWindows; }
    BrowserIntegration &browserIntegration() { return *m_browserIntegration; }
    HelpCommands &helpCommands() { return *m_helpCommands; }
    LibraryCare &libraryCare() { return *m_libraryCare; }
    LibraryKeeper &keeper() { return *m_keeper; }

    // Shared state, under the names the whole program uses.
    XmlDocument m_objDOMSitePins;
    QString m_strLibraryPath;
    bool m_blnEditMode = false;
    bool m_blnAutoPreview = false;
    QString m_strCurrentWID;
    QString m_strSavedNotes;
    QStringList m_colFavs;
    QPersistentModelIndex m_objClickedNode;

    // Message boxes and the file dialog, through the one module tests answer.
    MessageAnswer message(const QString &text, const QString &title = QString::fromLatin1(kApplicationTitle),
                          MessageButtons buttons = MessageButtons::Ok, MessageIcon icon = MessageIcon::None,
                          MessageAnswer defaultButton = MessageAnswer::Ok);
    UserDialogs &dialogs() { return *m_environment.dialogs; }

    bool confirmDiscardChanges();
    // Writes the whole library document to its file, asking first when the
    // file was changed elsewhere since it was read. A failure is shown to
    // the user; after a failure or a No the change stays in memory for the
    // next save.
    bool saveLibrary();
    // The same without a message, for callers that take their change back
    // when it cannot be saved.
    SaveResult saveLibraryQuietly(bool *declined = nullptr);

    int selectedLeftTab() const;
    void selectLeftTab(int tab);

    void mnuFileOpen_Click();
    void mnuFileExit_Click();
    // The question File > Open asks while an edit is open; true to go on.
    bool confirmOpeningAnother();
    // Opens the library file as File > Open does once a file is chosen;
    // a file that does not open is reported and changes nothing.
    bool openLibraryFile(const QString &path);
    // The open library afresh from its file, the same folder selected if it
    // is still there.
    bool reopenLibrary();

signals:
    // After each successful write of the library file.
    void librarySaved();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommandSurface();
    void prepareBrowsingState();
    void disableForBrowsingStart();
    void whitenDetailPanel();
    bool openDefaultLibrary(FileStamp &asRead);
    void finishWorkingStart(const FileStamp &asRead);
    void enterDegradedState();
    void leaveDegradedState();
    void showButtonsForTab(int tab);
    void resetAfterOpen();
    void showLibraryAccess();
    StartOutcome handOverToRunningInstance();
    void tellAboutDamagedSettings();
    void receiveHandOver(const QString &text);
    // A later start named a library: opened as File > Open would, once no
    // dialog is in the way.
    void receiveOpenLibrary(const QString &path);
    void openPendingLibrary();
    void bringToFront();
    void receiveCapturedPage(const CapturedPage &page);
    static QString freshHandOverText();
    void Timer1_Timer();
    void runEndSequence();

    ProgramEnvironment m_environment;
    std::unique_ptr<frmSitePinsUi> m_ui;
    CommandRouter m_commands;
    std::unique_ptr<XMLDatabase> m_objDatabase;
    SitePinTextIndex m_textIndex;
    std::unique_ptr<PreviewPane> m_preview;
    std::unique_ptr<FolderTree> m_folderTree;
    std::unique_ptr<DetailPanel> m_detailPanel;
    std::unique_ptr<SitePinEditor> m_editor;
    std::unique_ptr<Favourites> m_favourites;
    std::unique_ptr<MainWindowLayout> m_layout;
    std::unique_ptr<Search> m_search;
    std::unique_ptr<Navigation> m_navigation;
    std::unique_ptr<Statistics> m_statistics;
    std::unique_ptr<ClipboardCommands> m_clipboard;
    std::unique_ptr<FolderCommands> m_folderCommands;
    std::unique_ptr<DeleteCommands> m_deleteCommands;
    std::unique_ptr<MoveCommands> m_moveCommands;
    std::unique_ptr<HoverHelp> m_hoverHelp;
    std::unique_ptr<ViewCommands> m_viewCommands;
    std::unique_ptr<FavoritesImport> m_favoritesImport;
    std::unique_ptr<BookmarkImport> m_bookmarkImport;
    std::unique_ptr<BookmarkExport> m_bookmarkExport;
    std::unique_ptr<RemoteCommands> m_remoteCommands;
    std::unique_ptr<BrowserWindows> m_browserWindows;
    std::unique_ptr<BrowserIntegration> m_browserIntegration;
    std::unique_ptr<HelpCommands> m_helpCommands;
    std::unique_ptr<LibraryCare> m_libraryCare;
    std::unique_ptr<InstanceChannel> m_instance;
    std::unique_ptr<LibraryKeeper> m_keeper;
    QPointer<frmSplash> m_splash;
    QString m_pendingLibrary;
    QList<QObject *> m_disabledByDegradedStart;
    bool m_degraded = false;
    bool m_ending = false;
};
