#pragma once

#include "store/XmlNode.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class IdentifierRun;
class QLabel;
class frmProgress;
class frmSitePins;

// File > Import Internet Explorer favorites: every Favorites folder of the
// Windows drive becomes a new base folder, its sub-folders folders and its
// Internet Shortcuts SitePins, saved once at the end.
class FavoritesImport : public QObject
{
    Q_OBJECT

public:
    // Registry value (under the program's settings key) naming the folder
    // that holds the Windows drive, when it is not at a usual place.
    static constexpr const char *kDriveSetting = "WindowsDrive";

    explicit FavoritesImport(frmSitePins &window);
    ~FavoritesImport() override;

    void mnuFileImportIE_Click();

    void findFavoritesFolders(const QString &folder);
    void importFavoritesFolder(const QString &folder, bool top, XmlNode folderElement, int depth);
    XmlNode createImportFolder(const QString &name, const QString &parentTid);
    void importShortcutFile(const QString &file, XmlNode &folderElement);
    void createImportSitePin(XmlNode &folderElement, const QString &name, const QString &address);

    QStringList favoritesFolders() const { return m_favoritesFolders; }

private:
    struct Counts
    {
        int treeNodes = 0;
        int sitePins = 0;
    };

    bool confirmImport();
    void beginBusy();
    void endBusy();
    Counts countNow() const;
    QString driveRoot() const;
    void importEachFavoritesFolder();
    void revertImport();
    void showImportedFolder();
    void reportOutcome(const Counts &before);
    // False for a folder already seen by this walk, reached again through
    // a link.
    bool firstVisit(const QString &folder);
    bool mustStop() const { return m_cancelled || m_outOfIdentifiers; }

    void setFolderLine(const QString &text);
    void setItemLine(const QString &text);
    void advanceALittle();
    void advanceToAtLeast98();
    void setBar(double value);
    // Repaints the progress window and lets it hear Cancel, a few times a
    // second rather than for every item.
    void keepResponsive(bool now = false);

    frmSitePins &m_window;
    QPointer<frmProgress> m_progress;
    std::unique_ptr<IdentifierRun> m_identifiers;
    QStringList m_favoritesFolders;
    QString m_root;
    QString m_lastTopTid;
    std::vector<XmlNode> m_createdTops;
    double m_bar = 0;
    int m_skipped = 0;
    bool m_cancelled = false;
    bool m_outOfIdentifiers = false;
    QSet<QString> m_visited;
    QElapsedTimer m_sinceRefresh;
};
