#include "finding/Favourites.h"

#include "mainwindow/SitePinListModel.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "store/SitePinTextIndex.h"
#include "store/XmlDocument.h"

#include <QPushButton>
#include <QTreeView>

#include <algorithm>

namespace {

QString windowTitle()
{
    return QString::fromLatin1(frmSitePins::kWindowTitle);
}

QString nameOf(const XmlNode &sitePin)
{
    return sitePin.selectSingleNode(QStringLiteral("NAME")).text();
}

} // namespace

Favourites::Favourites(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
    , m_listEvents(window, window.ui().tvwFavs)
{
    connect(window.ui().cmdFAdd, &QPushButton::clicked, this, &Favourites::cmdFAdd_Click);
    connect(window.ui().cmdFDelete, &QPushButton::clicked, this, &Favourites::cmdFDelete_Click);
    window.commands().on(QStringLiteral("mnuFavsAdd"), [this] { cmdFAdd_Click(); });
    window.commands().on(QStringLiteral("mnuFavsDelete"), [this] { cmdFDelete_Click(); });
}

void Favourites::populateFavsList(const XmlDocument &dom)
{
    clearFavourites();
    fillFavsList(m_window.textIndex().favourites(dom));
}

// The list stops at the first identifier the document cannot find; what it
// does not list is not a favourite here either, or the positions would part.
void Favourites::fillFavsList(std::vector<SitePinRow> favourites)
{
    const auto unknown = std::find_if(favourites.begin(), favourites.end(), [this](const SitePinRow &favourite) {
        return !m_window.m_objDOMSitePins.nodeFromID(favourite.wid);
    });
    favourites.erase(unknown, favourites.end());
    m_window.m_colFavs.clear();
    for (const SitePinRow &favourite : favourites)
        m_window.m_colFavs.append(favourite.wid);
    SitePinListModel *list = m_window.ui().favsModel;
    list->fill(std::move(favourites));
    if (list->rowCount() > 0)
        m_window.ui().tvwFavs->scrollTo(list->index(list->rowOf(m_window.m_colFavs.constLast())));
}

void Favourites::clearFavourites()
{
    m_window.ui().favsModel->clear();
    m_window.m_colFavs.clear();
}

void Favourites::removeAt(int position)
{
    if (position < 0 || position >= m_window.ui().favsModel->rowCount())
        return;
    m_window.ui().favsModel->removeAdded(position);
    if (position < m_window.m_colFavs.size())
        m_window.m_colFavs.removeAt(position);
}

int Favourites::positionOf(const QString &wid) const
{
    for (int i = 0; i < m_window.m_colFavs.size(); ++i) {
        if (m_window.m_colFavs.at(i).compare(wid, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// The SitePin the commands act on; a null node when none is displayed or
// the one last displayed is no longer in the library.
XmlNode Favourites::displayedSitePin() const
{
    const QString wid = m_window.m_strCurrentWID;
    const XmlNode element = wid.isEmpty() ? XmlNode() : m_window.m_objDOMSitePins.nodeFromID(wid);
    return element.nodeName() == QLatin1String("SITEPIN") ? element : XmlNode();
}

// Editing a SitePin empties the list without clearing the flags; the
// commands must compare with the flags, as the Fav's tab would show them.
void Favourites::ensureListBuilt()
{
    if (m_window.m_colFavs.isEmpty() && m_window.ui().favsModel->rowCount() == 0)
        populateFavsList(m_window.m_objDOMSitePins);
}

void Favourites::setFavouriteFlag(XmlNode &sitePin, const QString &flag)
{
    XmlNode fav = sitePin.selectSingleNode(QStringLiteral("FAV"));
    if (!fav) {
        fav = m_window.m_objDOMSitePins.createElement(QStringLiteral("FAV"));
        sitePin.appendChild(fav);
    }
    fav.setText(flag);
}

void Favourites::cmdFAdd_Click()
{
    XmlNode sitePin = displayedSitePin();
    if (!sitePin) {
        m_window.message(QStringLiteral("No SitePin is currently selected to add to your favorite SitePins list"),
                         windowTitle());
        return;
    }
    ensureListBuilt();
    const QString wid = m_window.m_strCurrentWID;
    if (positionOf(wid) >= 0) {
        m_window.message(QStringLiteral("The selected SitePin is already in your favorites list"), windowTitle());
        return;
    }
    setFavouriteFlag(sitePin, QStringLiteral("TRUE"));
    m_window.saveLibrary();
    m_window.m_colFavs.append(wid);
    m_window.ui().favsModel->append(SitePinRow::of(sitePin));
    m_window.message(
        QStringLiteral("The SitePin %1 has been added to your favorite SitePins list").arg(nameOf(sitePin)));
}

void Favourites::cmdFDelete_Click()
{
    XmlNode sitePin = displayedSitePin();
    if (!sitePin) {
        m_window.message(QStringLiteral("No SitePin is currently selected to delete from your favorite SitePins list"),
                         windowTitle());
        return;
    }
    ensureListBuilt();
    const int position = positionOf(m_window.m_strCurrentWID);
    if (position < 0) {
        m_window.message(QStringLiteral("The displayed SitePin is not in your favorites list"), windowTitle());
        return;
    }
    if (!confirmRemoval(nameOf(sitePin)))
        return;
    setFavouriteFlag(sitePin, QStringLiteral("FALSE"));
    m_window.saveLibrary();
    removeAt(position);
}

bool Favourites::confirmRemoval(const QString &name)
{
    return m_window.message(QStringLiteral("Are you sure you wish to delete %1 from your favorites list?").arg(name),
                            windowTitle(), MessageButtons::YesNo, MessageIcon::None,
                            MessageAnswer::Yes) == MessageAnswer::Yes;
}
