#include "layout/HoverHelp.h"

#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QAction>
#include <QChildEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

const QColor kAddressRestColour(0, 0, 255);
const QColor kAddressHoverColour(255, 68, 68);

void setAddressLook(QLabel *label, bool underlined, const QColor &colour)
{
    QFont font = label->font();
    if (font.underline() != underlined) {
        font.setUnderline(underlined);
        label->setFont(font);
    }
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) != colour) {
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
}

} // namespace

HoverHelp::HoverHelp(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    frmSitePinsUi &ui = window.ui();
    track(ui.Toolbar1, Zone::Toolbar);
    for (QObject *child : ui.Toolbar1->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            track(widget, Zone::Toolbar);
    }
    track(ui.lblAddress, Zone::Address);
    // A drag over the label gives it back its rest look; the label takes
    // no drop.
    ui.lblAddress->setAcceptDrops(true);
    for (QWidget *background : {ui.client, static_cast<QWidget *>(ui.Frame1), static_cast<QWidget *>(ui.Frame2)})
        track(background, Zone::RestLook);
    trackTabControl(ui.tabInfo, Zone::RestLook);
    for (QWidget *emptying : {static_cast<QWidget *>(ui.Frame3), ui.Picture1})
        track(emptying, Zone::EmptiesPanel);
    trackTabControl(ui.tabIndex, Zone::LeftTabs);
}

void HoverHelp::track(QWidget *widget, Zone zone)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_zones.insert(widget, zone);
    connect(widget, &QObject::destroyed, this, [this, widget] { m_zones.remove(widget); });
}

// A tab control's own surface is its tab strip and, on every page, the
// canvas its controls stand on; the controls themselves are not part of it.
void HoverHelp::trackTabControl(QWidget *tabs, Zone zone)
{
    track(tabs, zone);
    auto *tabWidget = qobject_cast<QTabWidget *>(tabs);
    if (!tabWidget)
        return;
    track(tabWidget->tabBar(), zone);
    if (auto *stack = tabWidget->findChild<QStackedWidget *>(QString(), Qt::FindDirectChildrenOnly))
        track(stack, zone);
    for (int i = 0; i < tabWidget->count(); ++i) {
        QWidget *page = tabWidget->widget(i);
        track(page, zone);
        for (QObject *child : page->children()) {
            if (auto *canvas = qobject_cast<QWidget *>(child))
                track(canvas, zone);
        }
    }
}

std::optional<std::size_t> HoverHelp::buttonAt(const std::vector<ButtonEdges> &buttons, int x)
{
    for (std::size_t i = 0; i + 1 < buttons.size(); ++i) {
        if (x > buttons[i].left && x < buttons[i + 1].left)
            return i;
    }
    if (!buttons.empty() && x > buttons.back().left && x < buttons.back().right)
        return buttons.size() - 1;
    return std::nullopt;
}

void HoverHelp::toolbarMouseMove(int x)
{
    frmSitePinsUi &ui = m_window.ui();
    std::vector<ButtonEdges> edges;
    std::vector<int> indexes;
    for (int index = 1; index <= CommandSurface::kToolbarButtonCount; ++index) {
        QAction *button = ui.commands->toolbarButton(index);
        QWidget *widget = button ? ui.Toolbar1->widgetForAction(button) : nullptr;
        // A hidden button, or one moved into the overflow menu, has no place
        // on the bar.
        if (!widget || !button->isVisible() || !widget->isVisibleTo(ui.Toolbar1))
            continue;
        const QRect geometry = widget->geometry();
        edges.push_back({geometry.left(), geometry.left() + geometry.width()});
        indexes.push_back(index);
    }
    const std::optional<std::size_t> found = buttonAt(edges, x);
    if (!found)
        return;
    const int index = indexes[*found];
    setPanelText(CommandSurface::isSeparatorIndex(index) ? QString() : ui.commands->toolbarButton(index)->toolTip());
}

void HoverHelp::lblAddress_MouseMove()
{
    frmSitePinsUi &ui = m_window.ui();
    if (ui.lblAddress->text().isEmpty()) {
        ui.lblAddress->setToolTip(QString());
        return;
    }
    setAddressLook(ui.lblAddress, true, kAddressHoverColour);
    ui.lblAddress->setToolTip(QStringLiteral("Open ") + ui.lblWName->caption() +
                              QStringLiteral(" in a new browser window"));
}

void HoverHelp::showAddressRestLook()
{
    setAddressLook(m_window.ui().lblAddress, false, kAddressRestColour);
}

void HoverHelp::setPanelText(const QString &text)
{
    m_window.ui().StatusBar1->setPanelText(1, text);
}

void HoverHelp::mouseMoved(Zone zone, const QPoint &globalPos)
{
    frmSitePinsUi &ui = m_window.ui();
    switch (zone) {
    case Zone::Toolbar:
        toolbarMouseMove(ui.Toolbar1->mapFromGlobal(globalPos).x());
        break;
    case Zone::Address:
        lblAddress_MouseMove();
        break;
    case Zone::RestLook:
        showAddressRestLook();
        break;
    case Zone::EmptiesPanel:
        setPanelText(QString());
        break;
    case Zone::LeftTabs:
        ui.Splitter1->setToolTip(QString());
        ui.Splitter2->setToolTip(QString());
        setPanelText(QString());
        showAddressRestLook();
        break;
    }
}

bool HoverHelp::eventFilter(QObject *watched, QEvent *event)
{
    const auto zone = m_zones.constFind(watched);
    if (zone == m_zones.constEnd())
        return QObject::eventFilter(watched, event);
    auto *widget = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        // A move that a control ignores travels on to its container; like
        // the classic controls, only the element under the pointer itself
        // reacts, not the ones it stands on.
        if (widget->childAt(move->position().toPoint()))
            break;
        mouseMoved(*zone, move->globalPosition().toPoint());
        break;
    }
    case QEvent::DragEnter:
        if (*zone == Zone::Address)
            showAddressRestLook();
        break;
    case QEvent::ChildPolished:
        // Widgets the toolbar makes later (its overflow button) follow too.
        if (*zone == Zone::Toolbar && watched == m_window.ui().Toolbar1) {
            auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child());
            if (child && !m_zones.contains(child))
                track(child, Zone::Toolbar);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
