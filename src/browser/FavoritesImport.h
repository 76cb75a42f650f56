#pragma once

#include "store/XmlNode.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>

class ImportProgressWindow;
class ImportWriter;
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
    // A base folder for a null parent.
    XmlNode createImportFolder(const QString &name, const XmlNode &parent);
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
    void reportOutcome(const Counts &before, bool stoppedEarly);
    // False for a folder already seen by this walk, reached again through
    // a link.
    bool firstVisit(const QString &folder);
    bool isCancelled() const;
    bool isOutOfIdentifiers() const;
    bool mustStop() const { return isCancelled() || isOutOfIdentifiers(); }

    frmSitePins &m_window;
    std::unique_ptr<ImportProgressWindow> m_progress;
    std::unique_ptr<ImportWriter> m_writer;
    QStringList m_favoritesFolders;
    QString m_root;
    QString m_lastTopTid;
    int m_skipped = 0;
    QSet<QString> m_visited;
};
