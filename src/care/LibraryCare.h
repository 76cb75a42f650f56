#pragma once

#include "care/logic/LinkChecker.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <vector>

class frmDuplicates;
class frmLinkCheck;
class frmSitePins;

// Tools > Check links and Tools > Find duplicates: their windows, and what
// they change in the library, always at the user's word.
class LibraryCare : public QObject
{
    Q_OBJECT

public:
    struct AddressChange
    {
        QString wid;
        // The address the check asked for; a SitePin whose address is no
        // longer this one was changed since and is left alone.
        QString from;
        QString to;
    };

    explicit LibraryCare(frmSitePins &window);
    ~LibraryCare() override;

    void mnuToolsCheckLinks_Click();
    void mnuToolsFindDuplicates_Click();
    frmLinkCheck *linkCheckWindow() const;
    frmDuplicates *duplicatesWindow() const;
    // For the checks started from now on.
    LinkChecker::Settings &linkCheckSettings() { return m_linkCheckSettings; }

    // Shows the SitePin in the main window, in its folder on the Index tab.
    bool showSitePin(const QString &wid);
    // Asks the usual question and deletes with one save; the identifiers removed.
    QStringList deleteSitePins(const QStringList &wids);
    // Writes the new addresses with one save; the identifiers changed.
    QStringList useNewAddresses(const std::vector<AddressChange> &changes);

private:
    bool endOpenEdit();
    void showAddressOfShownSitePin(const QStringList &changed);
    template<typename Window>
    void bringUp(QPointer<Window> &window);

    frmSitePins &m_window;
    LinkChecker::Settings m_linkCheckSettings;
    QPointer<frmLinkCheck> m_linkCheck;
    QPointer<frmDuplicates> m_duplicates;
};
