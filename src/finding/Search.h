#pragma once

#include "finding/HitListEvents.h"
#include "store/SitePinRow.h"

#include <QObject>
#include <QStringList>

#include <vector>

class SearchTerm;
class XmlNode;
class frmSitePins;

// The Search tab: finds SitePins anywhere in the library by a term in one
// field or in any of them, and lists the hits in document order.
class Search : public QObject
{
    Q_OBJECT

public:
    // In the order of the option buttons optSearch 0 to 3.
    enum class Field
    {
        FullText,
        Name,
        Address,
        Notes
    };

    explicit Search(frmSitePins &window);

    void cmdSearch_Click();
    // Lists the hits in the order they were found.
    void fillSearchList(std::vector<SitePinRow> hits);
    void tvwSearch_NodeClick() { m_listEvents.nodeClick(); }
    // Empties the results, for a library whose SitePins they do not name.
    void clearResults();

private:
    void registerCommands();
    void prepareSearchFor(Field field);
    Field chosenField() const;
    std::vector<SitePinRow> findHits(Field field, const SearchTerm &term);
    static bool isHit(const XmlNode &sitePin, Field field, const SearchTerm &term);
    void reportNoHits();

    frmSitePins &m_window;
    HitListEvents m_listEvents;
};
