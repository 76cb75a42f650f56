#pragma once

#include "finding/HitListEvents.h"
#include "store/SitePinRow.h"

#include <QObject>
#include <QStringList>

#include <vector>

class XmlDocument;
class XmlNode;
class frmSitePins;

// The favourites list tvwFavs and the window's collection m_colFavs of the
// favourites' identifiers. Both hold the same identifiers in the same order
// of insertion, whatever order the list displays; every change to one is
// made to the other.
class Favourites : public QObject
{
    Q_OBJECT

public:
    explicit Favourites(frmSitePins &window);

    void populateFavsList(const XmlDocument &dom);
    // Replaces the list and the collection.
    void fillFavsList(std::vector<SitePinRow> favourites);
    // Empties the list and the collection together.
    void clearFavourites();
    // Removes the entry at a position of insertion from both.
    void removeAt(int position);
    int positionOf(const QString &wid) const;

    void cmdFAdd_Click();
    void cmdFDelete_Click();
    void tvwFavs_NodeClick() { m_listEvents.nodeClick(); }

private:
    XmlNode displayedSitePin() const;
    void ensureListBuilt();
    bool confirmRemoval(const QString &name);
    void setFavouriteFlag(XmlNode &sitePin, const QString &flag);

    frmSitePins &m_window;
    HitListEvents m_listEvents;
};
