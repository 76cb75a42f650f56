#pragma once

#include "layout/logic/TwipsScale.h"
#include "mainwindow/ImageList.h"

#include <QRect>

#include <memory>

class CommandSurface;
class NameOrder;
class NotifyingLabel;
class PanelStatusBar;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
class QTimer;
class QToolBar;
class QTreeView;
class QTreeWidget;
class SitePinListModel;
class QWidget;
class SplitterWidget;
class StateField;

// Every element of the main window, created at its design rectangle (in
// twips, converted at the screen's dpi) and named as the program knows it.
struct frmSitePinsUi
{
    explicit frmSitePinsUi(QMainWindow *window);

    // Places a control at a design rectangle in twips, relative to its
    // container, and remembers the rectangle for the layout passes.
    void place(QWidget *widget, int left, int top, int width, int height) const;
    static QRect designRect(const QWidget *widget);
    QRect toPixels(const QRect &twips) const;
    QRect toTwips(const QRect &pixels) const;
    // The preview's browser takes the place of the stand-in that held it
    // until the first page was previewed.
    void installPreviewView(QWidget *view);
    // The entries of a SitePin list, owned by the window.
    SitePinListModel *sitePinList(bool sorted);

    TwipsScale scale;
    ImageList ImageListTVW;
    ImageList ImageListWM;

    QWidget *client = nullptr;
    CommandSurface *commands = nullptr;
    QToolBar *Toolbar1 = nullptr;
    PanelStatusBar *StatusBar1 = nullptr;
    SplitterWidget *Splitter2 = nullptr;

    QTabWidget *tabIndex = nullptr;
    SplitterWidget *Splitter1 = nullptr;
    QTreeWidget *tvwTopics = nullptr;
    QTreeView *tvwWM = nullptr;
    SitePinListModel *wmModel = nullptr;
    QPushButton *cmdMoveSP = nullptr;
    QPushButton *cmdMoveFolder = nullptr;
    QLabel *lblSelectedTopic = nullptr;

    QLineEdit *txtSearch = nullptr;
    QRadioButton *optSearch[4] = {};
    QPushButton *cmdSearch = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *lblFound = nullptr;
    QTreeView *tvwSearch = nullptr;
    SitePinListModel *searchModel = nullptr;

    QPushButton *cmdFAdd = nullptr;
    QPushButton *cmdFDelete = nullptr;
    QTreeView *tvwFavs = nullptr;
    SitePinListModel *favsModel = nullptr;

    QWidget *Picture1 = nullptr;
    QFrame *Frame3 = nullptr;
    QLabel *Label4 = nullptr;
    NotifyingLabel *lblTName = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    NotifyingLabel *lblWName = nullptr;
    QLineEdit *txtWName = nullptr;
    QLabel *lblAddress = nullptr;
    QLineEdit *txtAddress = nullptr;
    QFrame *Frame1 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *lblCreatedDate = nullptr;
    QLabel *Label5 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QLabel *lblDescription = nullptr;
    QTextEdit *txtDescription = nullptr;

    QTabWidget *tabInfo = nullptr;
    QTextEdit *txtNotes = nullptr;
    QPushButton *cmdRefresh = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdPreview = nullptr;
    QLabel *Label14 = nullptr;
    QCheckBox *chkAutoPreview = nullptr;
    QProgressBar *previewProgress = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *lblStatus = nullptr;
    QWidget *wbPreview = nullptr;

    StateField *txtMode = nullptr;
    StateField *txtTID = nullptr;
    StateField *txtWID = nullptr;
    StateField *txtModTab = nullptr;
    StateField *ThunderTextBox = nullptr;
    QTimer *Timer1 = nullptr;

private:
    void buildLeftPane();
    void buildIndexTab();
    void buildSearchTab();
    void buildFavouritesTab();
    void buildDetailPanel();
    void buildInfoTabs();
    void buildStateFields(QMainWindow *window);

    std::shared_ptr<NameOrder> m_nameOrder;
};
