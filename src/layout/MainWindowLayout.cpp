#include "layout/MainWindowLayout.h"

#include "finding/Favourites.h"
#include "layout/SplitterWidget.h"
#include "layout/logic/Splitter.h"
#include "layout/logic/SplitterOverflowError.h"
#include "layout/logic/SplitterPropertyBag.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

namespace {

constexpr int kPanel3Width = 1500;

} // namespace

MainWindowLayout::MainWindowLayout(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    frmSitePinsUi &ui = window.ui();
    configureSplitters();
    connect(ui.Splitter2, &SplitterWidget::resized, this, &MainWindowLayout::panePass);
    connect(ui.tabIndex, &QTabWidget::currentChanged, this, [this] { tabIndex_Click(); });
    m_infoTab = ui.tabInfo->currentIndex();
    connect(ui.tabInfo, &QTabWidget::currentChanged, this, [this](int tab) {
        const int previous = m_infoTab;
        m_infoTab = tab;
        tabInfo_Click(previous);
    });
    window.installEventFilter(this);
}

// The two splitters are loaded as stored instances of the control: their
// properties are read in the control's own order with the layout held off,
// so RatioFromTop, read after SplitterPos, decides the wanted position for
// the extent the splitter has at load time, and one layout pass follows.
void MainWindowLayout::configureSplitters()
{
    frmSitePinsUi &ui = m_window.ui();
    struct Settings
    {
        SplitterWidget *host;
        const QWidget *child1;
        const QWidget *child2;
        std::int32_t orientation;
        std::int32_t splitterPos;
        float ratio;
        bool live;
        std::int32_t color;
    };
    const Settings all[] = {{ui.Splitter2, ui.tabIndex, ui.Picture1, 0, 3402, 0.334f, false, 0xC0C0C0},
                            {ui.Splitter1, ui.tvwTopics, ui.tvwWM, 1, 2502, 0.512f, true, 0x000000}};
    for (const Settings &s : all) {
        SplitterPropertyBag stored;
        stored.set("BorderStyle", std::int32_t{0});
        stored.set("SplitterAppearance", std::int32_t{0});
        stored.set("SplitterBorder", std::int32_t{0});
        stored.set("SplitterColor", s.color);
        stored.set("Orientation", s.orientation);
        stored.set("SplitterSize", std::int32_t{80});
        stored.set("Maintain", std::int32_t{0});
        stored.set("SplitterPos", s.splitterPos);
        stored.set("RatioFromTop", s.ratio);
        stored.set("Child1", s.child1->objectName().toStdString());
        stored.set("Child2", s.child2->objectName().toStdString());
        stored.set("MaxSize", std::int32_t{0});
        stored.set("MaxSizeAppliesTo", std::int32_t{0});
        stored.set("MinSize1", std::int32_t{0});
        stored.set("MinSize2", std::int32_t{0});
        stored.set("MinSizeAux", std::int32_t{0});
        stored.set("AllowResize", true);
        stored.set("LiveUpdate", s.live);
        try {
            s.host->splitter().readProperties(stored);
        } catch (const SplitterOverflowError &) {
            // A window too large for the control's 16-bit positions keeps
            // whatever the control had placed; the next resize tries again.
        }
    }
}

bool MainWindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    // Qt delivers the client's first resize while its children are still
    // hidden, so the splitter lays out only later; the pass runs once more
    // when the window has been shown, with every pane in place.
    if (watched == &m_window && event->type() == QEvent::Show)
        windowResizePass();
    return QObject::eventFilter(watched, event);
}

QRect MainWindowLayout::twipsRect(const QWidget *widget) const
{
    return m_window.ui().toTwips(widget->geometry());
}

int MainWindowLayout::clientWidth() const
{
    return qRound(m_window.ui().scale.toTwipsX(m_window.ui().client->width()));
}

int MainWindowLayout::clientHeight() const
{
    return qRound(m_window.ui().scale.toTwipsY(m_window.ui().client->height()));
}

int MainWindowLayout::outerWidth() const
{
    return qRound(m_window.ui().scale.toTwipsX(m_window.frameGeometry().width()));
}

// A negative width or height is refused: the element keeps its place and
// size, and the caller's pass goes on with its next step.
bool MainWindowLayout::setTwipsGeometry(QWidget *widget, int left, int top, int width, int height)
{
    if (!widget || width < 0 || height < 0)
        return false;
    widget->setGeometry(m_window.ui().toPixels(QRect(left, top, width, height)));
    return true;
}

bool MainWindowLayout::setTwipsSize(QWidget *widget, int width, int height)
{
    const QRect now = twipsRect(widget);
    return setTwipsGeometry(widget, now.x(), now.y(), width, height);
}

bool MainWindowLayout::setTwipsWidth(QWidget *widget, int width)
{
    const QRect now = twipsRect(widget);
    return setTwipsGeometry(widget, now.x(), now.y(), width, now.height());
}

bool MainWindowLayout::setTwipsHeight(QWidget *widget, int height)
{
    const QRect now = twipsRect(widget);
    return setTwipsGeometry(widget, now.x(), now.y(), now.width(), height);
}

bool MainWindowLayout::setTwipsLeft(QWidget *widget, int left)
{
    const QRect now = twipsRect(widget);
    return setTwipsGeometry(widget, left, now.y(), now.width(), now.height());
}

// The toolbar keeps to the top edge and the status bar to the bottom edge
// of the client area, whatever its size; its width follows with the panels.
void MainWindowLayout::dockBars()
{
    frmSitePinsUi &ui = m_window.ui();
    ui.Toolbar1->setGeometry(0, 0, ui.client->width(), ui.scale.toPixelsY(420));
    const int statusHeight = ui.scale.toPixelsY(375);
    ui.StatusBar1->setGeometry(0, ui.client->height() - statusHeight, ui.StatusBar1->width(), statusHeight);
}

void MainWindowLayout::windowResizePass()
{
    frmSitePinsUi &ui = m_window.ui();
    const int w = clientWidth();
    const int h = clientHeight();
    dockBars();
    if (h > 1400)
        setTwipsHeight(ui.Splitter1, h - 1940);
    ui.cmdSearch->setVisible(ui.tabIndex->currentIndex() == 1);
    setTwipsSize(ui.Splitter2, w - 20, h - 900); // its layout runs the pane pass
    const int tabHeight = twipsRect(ui.tabIndex).height();
    setTwipsHeight(ui.tvwSearch, tabHeight - 2550);
    setTwipsHeight(ui.tvwFavs, tabHeight - 1100);
    placeStatusPanels();
    fitDetailPanel();
}

void MainWindowLayout::placeStatusPanels()
{
    frmSitePinsUi &ui = m_window.ui();
    const int ow = outerWidth();
    ui.StatusBar1->resize(ui.scale.toPixelsX(ow), ui.StatusBar1->height());
    const int panel1 = twipsRect(ui.tabIndex).width();
    const int panel2 = ow - panel1 - kPanel3Width;
    // Each panel in pixels from its own edges in twips, so that the three
    // add up to the bar's width without a rounding gap.
    const int panel1Pixels = ui.scale.toPixelsX(panel1);
    ui.StatusBar1->setPanelWidth(1, panel1Pixels);
    ui.StatusBar1->setPanelWidth(3, ui.scale.toPixelsX(kPanel3Width));
    if (panel2 >= 0)
        ui.StatusBar1->setPanelWidth(2, ui.scale.toPixelsX(ow) - panel1Pixels - ui.scale.toPixelsX(kPanel3Width));
}

// The detail tabs follow Picture1 only while it is wide enough for them.
std::optional<QRect> MainWindowLayout::fitInfoTab()
{
    frmSitePinsUi &ui = m_window.ui();
    const QRect picture = twipsRect(ui.Picture1);
    if (picture.width() <= 2520)
        return std::nullopt;
    setTwipsSize(ui.tabInfo, picture.width() - 2520, picture.height() - 1550);
    return twipsRect(ui.tabInfo);
}

void MainWindowLayout::fitDetailPanel()
{
    frmSitePinsUi &ui = m_window.ui();
    const std::optional<QRect> fitted = fitInfoTab();
    if (!fitted)
        return;
    const QRect info = *fitted;
    setTwipsSize(ui.txtNotes, info.width() - 250, info.height() - 600);
    setTwipsSize(ui.wbPreview, info.width() - 250, info.height() - 1320);
    ui.wbPreview->setVisible(true);
    const int ow = outerWidth();
    setTwipsWidth(ui.Frame3, ow);
    setTwipsWidth(ui.Frame2, ow);
    setTwipsHeight(ui.Frame1, info.height() + 340);
}

void MainWindowLayout::panePass()
{
    frmSitePinsUi &ui = m_window.ui();
    const QRect tab = twipsRect(ui.tabIndex);
    setTwipsWidth(ui.Splitter1, tab.width() - 250);
    setTwipsWidth(ui.tvwSearch, tab.width() - 250);
    setTwipsWidth(ui.txtSearch, tab.width() - 250);
    setTwipsLeft(ui.lblFound, tab.x() + tab.width() - 780);
    setTwipsLeft(ui.Label9, tab.x() + tab.width() - 1300);
    setTwipsLeft(ui.cmdSearch, tab.x() + tab.width() - 950);
    ui.cmdSearch->setVisible(ui.tabIndex->currentIndex() == 1);
    setTwipsWidth(ui.tvwFavs, tab.width() - 250);
    fitDetailPanelFromPaneLayout();
    placeStatusPanels();
    placeMoveButtons();
}

void MainWindowLayout::fitDetailPanelFromPaneLayout()
{
    frmSitePinsUi &ui = m_window.ui();
    const std::optional<QRect> fitted = fitInfoTab();
    if (!fitted)
        return;
    const QRect info = *fitted;
    setTwipsWidth(ui.txtNotes, info.width() - 250);
    setTwipsWidth(ui.wbPreview, info.width() - 250);
    ui.wbPreview->setVisible(true);
    setTwipsWidth(ui.lblStatus, info.width() - 1000);
    setTwipsHeight(ui.lblDescription, info.height() - 500);
    setTwipsHeight(ui.txtDescription, info.height() - 500);
    for (QWidget *field : {static_cast<QWidget *>(ui.lblTName), static_cast<QWidget *>(ui.txtWName),
                           static_cast<QWidget *>(ui.txtAddress), static_cast<QWidget *>(ui.lblWName),
                           static_cast<QWidget *>(ui.lblAddress)})
        setTwipsWidth(field, twipsRect(ui.Picture1).width() - 1200);
}

void MainWindowLayout::placeMoveButtons()
{
    frmSitePinsUi &ui = m_window.ui();
    const QRect tab = twipsRect(ui.tabIndex);
    const int top = tab.y() + tab.height() - 450;
    const QRect sp = twipsRect(ui.cmdMoveSP);
    setTwipsGeometry(ui.cmdMoveSP, tab.x() + 200, top, sp.width(), sp.height());
    const QRect folder = twipsRect(ui.cmdMoveFolder);
    setTwipsGeometry(ui.cmdMoveFolder, tab.x() + 1020, top, folder.width(), folder.height());
    // Not a rule of the design: the listed folder's name sits beside the
    // buttons, and would end up under the growing SitePin list if it stayed.
    const QRect topic = twipsRect(ui.lblSelectedTopic);
    setTwipsGeometry(ui.lblSelectedTopic, tab.x() + 1920, top + 40, qMax(0, tab.width() - 2065), topic.height());
}

// A window has one default button: making one the default takes the role
// from the other.
void MainWindowLayout::makeDefaultButton(QPushButton *button)
{
    frmSitePinsUi &ui = m_window.ui();
    for (QPushButton *candidate : {ui.cmdSearch, ui.cmdFAdd})
        candidate->setDefault(candidate == button);
}

// Each rule is tested against the tab shown at that moment, in this order,
// because rebuilding the favourites can itself change what is shown.
void MainWindowLayout::tabIndex_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (ui.tabIndex->currentIndex() == 1) {
        ui.cmdSearch->setVisible(true);
        makeDefaultButton(ui.cmdSearch);
        for (QPushButton *button : {ui.cmdMoveFolder, ui.cmdMoveSP, ui.cmdFAdd, ui.cmdFDelete})
            button->setVisible(false);
        ui.txtSearch->setSelection(0, 40);
        QWidget::setTabOrder(ui.txtSearch, ui.optSearch[0]);
        // A box that cannot take the focus (hidden, disabled) simply does not.
        ui.txtSearch->setFocus(Qt::OtherFocusReason);
    }
    if (ui.tabIndex->currentIndex() == 2) {
        if (ui.favsModel->rowCount() == 0) {
            m_window.m_colFavs = QStringList();
            m_window.favourites().populateFavsList(m_window.m_objDOMSitePins);
        }
        ui.cmdFAdd->setVisible(true);
        ui.cmdFDelete->setVisible(true);
        for (QPushButton *button : {ui.cmdSearch, ui.cmdMoveFolder, ui.cmdMoveSP})
            button->setVisible(false);
        makeDefaultButton(ui.cmdFAdd);
    }
    if (ui.tabIndex->currentIndex() == 0) {
        ui.cmdSearch->setVisible(false);
        ui.cmdMoveFolder->setVisible(true);
        ui.cmdMoveSP->setVisible(true);
        ui.cmdFAdd->setVisible(false);
        ui.cmdFDelete->setVisible(false);
        FolderTree &tree = m_window.folderTree();
        const QTreeWidgetItem *selected = tree.selectedNode();
        if (ui.wmModel->rowCount() == 0 && selected && selected != tree.rootNode() &&
            selected->text(0).compare(ui.lblTName->caption(), Qt::CaseInsensitive) != 0)
            tree.populateWMOnTopicNode();
    }
}

// Judged by the tab shown before the switch. The preview is marked visible
// in the end whatever the direction: its page keeps it out of view while
// the Notes tab is shown.
void MainWindowLayout::tabInfo_Click(int previousTab)
{
    frmSitePinsUi &ui = m_window.ui();
    if (previousTab == 0) {
        ui.txtNotes->setVisible(false);
        ui.wbPreview->setVisible(true);
    } else if (previousTab == 1) {
        ui.wbPreview->setVisible(false);
        ui.txtNotes->setVisible(true);
    }
    ui.wbPreview->setVisible(true);
}
