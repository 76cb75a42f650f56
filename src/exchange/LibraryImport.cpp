#include "exchange/LibraryImport.h"

#include "store/CreationDate.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

LibraryImport::LibraryImport(const XMLDatabase &database, XmlDocument dom, const QDate &today)
    : m_writer(database, std::move(dom))
    , m_today(today)
{
}

QString LibraryImport::topFolderName(const QString &source, const QDate &today)
{
    return source + QLatin1Char(' ') + CreationDate::text(today);
}

QString LibraryImport::sourceOf(const QString &path, BookmarkFormat format)
{
    switch (format) {
    case BookmarkFormat::FirefoxPlaces:
        return QStringLiteral("Firefox");
    case BookmarkFormat::ChromiumJson:
        return QDir::fromNativeSeparators(path).contains(QLatin1String("/google-chrome/")) ? QStringLiteral("Chrome")
                                                                                           : QStringLiteral("Chromium");
    case BookmarkFormat::Netscape:
    case BookmarkFormat::Xbel:
        break;
    }
    return QFileInfo(path).fileName();
}

LibraryImport::Outcome LibraryImport::run(const BookmarkTree &tree, const QString &topName)
{
    Outcome outcome;
    const int entries = tree.folderCount() + tree.bookmarkCount();
    m_total = entries;
    m_done = 0;
    outcome.topFolder = m_writer.addTopFolder(topName);
    if (outcome.topFolder)
        addChildren(tree.root, outcome.topFolder);
    if (m_cancelled) {
        m_writer.revert();
        outcome.topFolder = {};
        outcome.cancelled = true;
        return outcome;
    }
    outcome.outOfIdentifiers = m_writer.outOfIdentifiers();
    // The top folder is this import's own, not one of the entries.
    outcome.folders = std::max(0, m_writer.foldersAdded() - 1);
    outcome.sitePins = m_writer.sitePinsAdded();
    outcome.leftOut = entries - outcome.folders - outcome.sitePins;
    return outcome;
}

bool LibraryImport::addChildren(const BookmarkEntry &folder, const XmlNode &element)
{
    for (const BookmarkEntry &child : folder.children) {
        if (!addEntry(child, element))
            return false;
    }
    return true;
}

bool LibraryImport::addEntry(const BookmarkEntry &entry, const XmlNode &folder)
{
    if (m_progress && !m_progress(entry, m_done++, m_total)) {
        m_cancelled = true;
        return false;
    }
    if (entry.isFolder) {
        const XmlNode added = m_writer.addFolder(folder, entry.name);
        return added && addChildren(entry, added);
    }
    SitePinFields fields;
    fields.name = entry.name;
    fields.address = entry.address;
    fields.createdDate = CreationDate::text(entry.created.isValid() ? entry.created : m_today);
    fields.description = entry.description;
    fields.notes = entry.notes;
    fields.favourite = entry.favourite;
    return bool(m_writer.addSitePin(folder, fields));
}
