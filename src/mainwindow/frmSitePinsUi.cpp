#include "mainwindow/frmSitePinsUi.h"

#include "mainwindow/FontFallback.h"

#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "layout/logic/Splitter.h"
#include "mainwindow/NameOrder.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/TabCanvas.h"
#include "platform/StateField.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const char *const kDesignRect = "designRect";

TwipsScale screenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? TwipsScale(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY())
                  : TwipsScale(TwipsScale::kStandardDpi, TwipsScale::kStandardDpi);
}

// The SitePin's own fields are in Verdana.
QFont fieldFont()
{
    return QFont(QStringLiteral("Verdana"), 8);
}

template<typename Widget, typename... Args>
Widget *make(QWidget *parent, const QString &name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setFont(FontFallback::designFont());
    return widget;
}

// Captions are data (names, addresses, notes): never read them as markup.
QLabel *label(QWidget *parent, const QString &name, const QString &caption)
{
    auto *result = make<QLabel>(parent, name, caption);
    result->setTextFormat(Qt::PlainText);
    return result;
}

template<typename View>
View *treeView(QWidget *parent, const QString &name)
{
    auto *tree = make<View>(parent, name);
    tree->setHeaderHidden(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setIconSize(QSize(16, 16));
    // Every row is one line of text beside a small picture; saying so spares
    // the view measuring each of thousands of rows.
    tree->setUniformRowHeights(true);
    tree->header()->setStretchLastSection(true);
    return tree;
}

QTreeView *flatList(QWidget *parent, const QString &name, SitePinListModel *model)
{
    auto *list = treeView<QTreeView>(parent, name);
    list->setRootIsDecorated(false);
    list->setModel(model);
    return list;
}

QFrame *groupFrame(QWidget *parent, const QString &name)
{
    auto *frame = make<QFrame>(parent, name);
    frame->setFrameShape(QFrame::NoFrame);
    frame->setAutoFillBackground(true);
    return frame;
}

QTextEdit *plainTextBox(QWidget *parent, const QString &name)
{
    auto *box = make<QTextEdit>(parent, name);
    box->setAcceptRichText(false);
    box->setFont(fieldFont());
    return box;
}

// The design gives some buttons less room than their captions take in
// this desktop's fonts; such a caption is set narrower (down to three
// quarters) rather than cut, and its tooltip always has it whole.
void fitCaption(QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() - 2;
    QFont font = button->font();
    for (int stretch = 100; stretch >= 75; stretch -= 5) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room)
            break;
    }
    button->setFont(font);
    if (button->toolTip().isEmpty())
        button->setToolTip(button->text());
}

} // namespace

frmSitePinsUi::frmSitePinsUi(QMainWindow *window)
    : scale(screenScale())
    , ImageListTVW(ImageList::folderImages())
    , ImageListWM(ImageList::sitePinImages())
{
    client = new QWidget(window);
    client->setObjectName(QStringLiteral("formClient"));
    window->setCentralWidget(client);

    commands = new CommandSurface(window, client);
    Toolbar1 = commands->toolbar();
    place(Toolbar1, 0, 0, 10380, 420);

    Splitter2 = make<SplitterWidget>(client, QStringLiteral("Splitter2"));
    place(Splitter2, 0, 480, 10300, 6015);

    StatusBar1 = make<PanelStatusBar>(client, QStringLiteral("StatusBar1"));
    place(StatusBar1, 0, 6525, 10380, 375);
    StatusBar1->setPanelText(1, QStringLiteral("Current topic"));
    StatusBar1->setPanelWidth(3, scale.toPixelsX(1500));

    buildLeftPane();
    buildDetailPanel();
    buildStateFields(window);
    for (QPushButton *button : client->findChildren<QPushButton *>())
        fitCaption(button);
}

// The sorted lists share the keys their names sort by.
SitePinListModel *frmSitePinsUi::sitePinList(bool sorted)
{
    if (sorted && !m_nameOrder)
        m_nameOrder = std::make_shared<NameOrder>();
    return new SitePinListModel(ImageListWM.pair(QStringLiteral("SitePin"), QStringLiteral("SelSitePin")),
                                sorted ? m_nameOrder : nullptr, client);
}

void frmSitePinsUi::place(QWidget *widget, int left, int top, int width, int height) const
{
    const QRect twips(left, top, width, height);
    widget->setProperty(kDesignRect, twips);
    widget->setGeometry(toPixels(twips));
}

void frmSitePinsUi::installPreviewView(QWidget *view)
{
    QWidget *standIn = wbPreview;
    view->setParent(standIn->parentWidget());
    view->setObjectName(standIn->objectName());
    view->setProperty(kDesignRect, standIn->property(kDesignRect));
    view->setGeometry(standIn->geometry());
    view->setVisible(!standIn->isHidden());
    wbPreview = view;
    delete standIn;
}

QRect frmSitePinsUi::designRect(const QWidget *widget)
{
    return widget->property(kDesignRect).toRect();
}

QRect frmSitePinsUi::toPixels(const QRect &twips) const
{
    const int left = scale.toPixelsX(twips.x());
    const int top = scale.toPixelsY(twips.y());
    return QRect(left, top, scale.toPixelsX(twips.x() + twips.width()) - left,
                 scale.toPixelsY(twips.y() + twips.height()) - top);
}

QRect frmSitePinsUi::toTwips(const QRect &pixels) const
{
    return QRect(qRound(scale.toTwipsX(pixels.x())), qRound(scale.toTwipsY(pixels.y())),
                 qRound(scale.toTwipsX(pixels.width())), qRound(scale.toTwipsY(pixels.height())));
}

void frmSitePinsUi::buildLeftPane()
{
    tabIndex = make<QTabWidget>(Splitter2, QStringLiteral("tabIndex"));
    place(tabIndex, 0, 0, 3400, 6015);
    buildIndexTab();
    buildSearchTab();
    buildFavouritesTab();
}

void frmSitePinsUi::buildIndexTab()
{
    auto *page = new TabCanvas(tabIndex, QStringLiteral("tabIndexPage0"), QStringLiteral("&Index"));
    Splitter1 = make<SplitterWidget>(page, QStringLiteral("Splitter1"));
    place(Splitter1, 120, 510, 3135, 4965);
    tvwTopics = treeView<QTreeWidget>(Splitter1, QStringLiteral("tvwTopics"));
    tvwTopics->setColumnCount(1);
    place(tvwTopics, 0, 0, 3135, 2500);
    tvwWM = flatList(Splitter1, QStringLiteral("tvwWM"), wmModel = sitePinList(true));
    place(tvwWM, 0, 2580, 3135, 2385);

    cmdMoveSP = make<QPushButton>(page, QStringLiteral("cmdMoveSP"), QStringLiteral("Move SitePin"));
    place(cmdMoveSP, 240, 5560, 750, 330);
    cmdMoveFolder = make<QPushButton>(page, QStringLiteral("cmdMoveFolder"), QStringLiteral("Move folder"));
    place(cmdMoveFolder, 1080, 5560, 750, 330);
    lblSelectedTopic = label(page, QStringLiteral("lblSelectedTopic"), QStringLiteral("No topic"));
    place(lblSelectedTopic, 1920, 5600, 1335, 255);
}

void frmSitePinsUi::buildSearchTab()
{
    auto *page = new TabCanvas(tabIndex, QStringLiteral("tabIndexPage1"), QStringLiteral("&Search"));
    txtSearch = make<QLineEdit>(page, QStringLiteral("txtSearch"), QStringLiteral("Enter search word here"));
    place(txtSearch, 120, 480, 3135, 285);
    const char *const captions[4] = {"Full text", "Name only", "Address only", "Notes only"};
    for (int i = 0; i < 4; ++i) {
        optSearch[i] = make<QRadioButton>(page, QStringLiteral("optSearch%1").arg(i), QString::fromLatin1(captions[i]));
        optSearch[i]->setProperty("index", i);
        place(optSearch[i], 120 + (i % 2) * 1560, 870 + (i / 2) * 330, 1500, 255);
    }
    optSearch[0]->setChecked(true);
    cmdSearch = make<QPushButton>(page, QStringLiteral("cmdSearch"), QStringLiteral("Search"));
    cmdSearch->setToolTip(QStringLiteral("Search all your SitePins for the entered text"));
    place(cmdSearch, 2400, 1680, 750, 330);
    Label1 = label(page, QStringLiteral("Label1"), QStringLiteral("Search results:"));
    place(Label1, 120, 2190, 1095, 255);
    Label9 = label(page, QStringLiteral("Label9"), QStringLiteral("Found:"));
    place(Label9, 2040, 2190, 495, 255);
    lblFound = label(page, QStringLiteral("lblFound"), QStringLiteral("0"));
    place(lblFound, 2640, 2190, 615, 255);
    tvwSearch = flatList(page, QStringLiteral("tvwSearch"), searchModel = sitePinList(false));
    place(tvwSearch, 120, 2400, 3135, 3495);
}

void frmSitePinsUi::buildFavouritesTab()
{
    auto *page = new TabCanvas(tabIndex, QStringLiteral("tabIndexPage2"), QStringLiteral("&Fav's"));
    cmdFAdd = make<QPushButton>(page, QStringLiteral("cmdFAdd"), QStringLiteral("Add"));
    cmdFAdd->setToolTip(QStringLiteral("Add the currently displayed SitePin to your list of favorites"));
    place(cmdFAdd, 240, 510, 750, 330);
    cmdFDelete = make<QPushButton>(page, QStringLiteral("cmdFDelete"), QStringLiteral("Delete"));
    cmdFDelete->setToolTip(QStringLiteral("Delete the currently displayed SitePin from your favorites list"));
    place(cmdFDelete, 1080, 510, 750, 330);
    tvwFavs = flatList(page, QStringLiteral("tvwFavs"), favsModel = sitePinList(true));
    place(tvwFavs, 120, 990, 3135, 4935);
}

void frmSitePinsUi::buildDetailPanel()
{
    Picture1 = make<QWidget>(Splitter2, QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    Picture1->setPalette(palette);
    place(Picture1, 3480, 0, 6825, 6015);

    Frame3 = groupFrame(Picture1, QStringLiteral("Frame3"));
    place(Frame3, -120, -120, 6855, 615);
    Label4 = label(Frame3, QStringLiteral("Label4"), QStringLiteral("Folder:"));
    place(Label4, 240, 280, 615, 255);
    lblTName = make<NotifyingLabel>(Frame3, QStringLiteral("lblTName"), QStringLiteral("No folder selected"));
    lblTName->setFont(fieldFont());
    place(lblTName, 1200, 205, 5535, 300);

    Frame2 = groupFrame(Picture1, QStringLiteral("Frame2"));
    place(Frame2, -120, 360, 6855, 975);
    Label2 = label(Frame2, QStringLiteral("Label2"), QStringLiteral("Name:"));
    place(Label2, 240, 290, 495, 255);
    Label3 = label(Frame2, QStringLiteral("Label3"), QStringLiteral("Address:"));
    place(Label3, 240, 600, 735, 255);
    lblWName = make<NotifyingLabel>(Frame2, QStringLiteral("lblWName"), QStringLiteral("No SitePin selected"));
    QFont nameFont = fieldFont();
    nameFont.setBold(true);
    lblWName->setFont(nameFont);
    place(lblWName, 1200, 240, 5535, 255);
    txtWName = make<QLineEdit>(Frame2, QStringLiteral("txtWName"));
    txtWName->setFont(fieldFont());
    place(txtWName, 1200, 240, 5535, 285);
    lblAddress = label(Frame2, QStringLiteral("lblAddress"), QString());
    lblAddress->setFont(fieldFont());
    lblAddress->setCursor(Qt::PointingHandCursor);
    place(lblAddress, 1200, 600, 5535, 200);
    txtAddress = make<QLineEdit>(Frame2, QStringLiteral("txtAddress"));
    txtAddress->setFont(fieldFont());
    place(txtAddress, 1200, 600, 5535, 285);

    Frame1 = groupFrame(Picture1, QStringLiteral("Frame1"));
    place(Frame1, -120, 1200, 2415, 4815);
    Label6 = label(Frame1, QStringLiteral("Label6"), QStringLiteral("Created:"));
    place(Label6, 240, 240, 615, 255);
    lblCreatedDate = label(Frame1, QStringLiteral("lblCreatedDate"), QString());
    lblCreatedDate->setFont(fieldFont());
    place(lblCreatedDate, 1200, 240, 1095, 255);
    Label5 = label(Frame1, QStringLiteral("Label5"), QStringLiteral("Description:"));
    place(Label5, 240, 480, 1095, 255);
    Line1 = make<QFrame>(Frame1, QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    place(Line1, 240, 540, 2040, 15);
    Line2 = make<QFrame>(Frame1, QStringLiteral("Line2"));
    Line2->setFrameShape(QFrame::HLine);
    Line2->setFrameShadow(QFrame::Plain);
    place(Line2, 240, 550, 2040, 15);
    lblDescription = label(Frame1, QStringLiteral("lblDescription"), QString());
    lblDescription->setFont(fieldFont());
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblDescription, 240, 720, 2055, 3855);
    txtDescription = plainTextBox(Frame1, QStringLiteral("txtDescription"));
    place(txtDescription, 240, 720, 2055, 3975);

    buildInfoTabs();
}

void frmSitePinsUi::buildInfoTabs()
{
    tabInfo = make<QTabWidget>(Picture1, QStringLiteral("tabInfo"));
    place(tabInfo, 2400, 1440, 4245, 4455);
    auto *notesPage = new TabCanvas(tabInfo, QStringLiteral("tabInfoPage0"), QStringLiteral("&Notes"));
    txtNotes = plainTextBox(notesPage, QStringLiteral("txtNotes"));
    place(txtNotes, 120, 480, 3975, 3855);

    auto *previewPage = new TabCanvas(tabInfo, QStringLiteral("tabInfoPage1"), QStringLiteral("&Preview"));
    cmdRefresh = make<QPushButton>(previewPage, QStringLiteral("cmdRefresh"), QStringLiteral("Refresh"));
    place(cmdRefresh, 120, 480, 750, 330);
    cmdStop = make<QPushButton>(previewPage, QStringLiteral("cmdStop"), QStringLiteral("Stop"));
    place(cmdStop, 960, 480, 750, 330);
    cmdPreview = make<QPushButton>(previewPage, QStringLiteral("cmdPreview"), QStringLiteral("Preview"));
    place(cmdPreview, 1800, 480, 750, 330);
    chkAutoPreview = make<QCheckBox>(previewPage, QStringLiteral("chkAutoPreview"));
    place(chkAutoPreview, 2700, 580, 255, 255);
    Label14 = label(previewPage, QStringLiteral("Label14"), QStringLiteral("Auto-preview"));
    Label14->setBuddy(chkAutoPreview);
    place(Label14, 2970, 600, 1095, 255);
    previewProgress = make<QProgressBar>(previewPage, QStringLiteral("previewProgress"));
    previewProgress->setRange(0, 100);
    previewProgress->setTextVisible(false);
    previewProgress->setVisible(false);
    place(previewProgress, 120, 840, 3855, 135);
    Label16 = label(previewPage, QStringLiteral("Label16"), QStringLiteral("Status:"));
    place(Label16, 120, 960, 720, 200);
    lblStatus = label(previewPage, QStringLiteral("lblStatus"), QStringLiteral("Default"));
    place(lblStatus, 840, 960, 3135, 200);
    // A stand-in until the first page previewed starts the browser.
    wbPreview = make<QFrame>(previewPage, QStringLiteral("wbPreview"));
    static_cast<QFrame *>(wbPreview)->setFrameShape(QFrame::StyledPanel);
    wbPreview->setAutoFillBackground(true);
    place(wbPreview, 120, 1200, 3975, 3135);
}

void frmSitePinsUi::buildStateFields(QMainWindow *window)
{
    txtMode = new StateField(QStringLiteral("txtMode"), window);
    txtTID = new StateField(QStringLiteral("txtTID"), window);
    txtWID = new StateField(QStringLiteral("txtWID"), window);
    txtModTab = new StateField(QStringLiteral("txtModTab"), window);
    ThunderTextBox = new StateField(QStringLiteral("ThunderTextBox"), window);
    Timer1 = new QTimer(window);
    Timer1->setObjectName(QStringLiteral("Timer1"));
}
