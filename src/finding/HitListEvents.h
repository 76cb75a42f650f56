#pragma once

#include <QObject>

class QPoint;
class QTreeView;
class XmlNode;
class frmSitePins;

// What the search results and the favourites list do alike: a click or
// Enter shows the entry's SitePin with its folder (leaving the folder tree
// as it is), the right button offers the SitePin pop-up menu, and the
// entry under the pointer puts its address into the left pane's tooltip.
class HitListEvents : public QObject
{
    Q_OBJECT

public:
    HitListEvents(frmSitePins &window, QTreeView *list);

    // Shows the list's selected entry, as a click on it does.
    void nodeClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rightButtonDown(const QPoint &position);
    void mouseMove(const QPoint &position);
    XmlNode sitePinOf(const QString &tag) const;
    void showSitePin(const XmlNode &sitePin, const QString &wid);
    void showFolderOf(const XmlNode &sitePin);

    frmSitePins &m_window;
    QTreeView *m_list;
};
