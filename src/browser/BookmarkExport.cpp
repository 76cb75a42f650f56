#include "browser/BookmarkExport.h"

#include "exchange/LibraryExport.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"

#include <QDir>

BookmarkExport::BookmarkExport(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuFileExportNetscape"), [this] { mnuFileExportNetscape_Click(); });
    window.commands().on(QStringLiteral("mnuFileExportXbel"), [this] { mnuFileExportXbel_Click(); });
}

void BookmarkExport::mnuFileExportNetscape_Click()
{
    exportAs(BookmarkFormat::Netscape);
}

void BookmarkExport::mnuFileExportXbel_Click()
{
    exportAs(BookmarkFormat::Xbel);
}

XmlNode BookmarkExport::chosenFolder()
{
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.selectedNode();
    if (!node || tree.isRoot(node))
        return {};
    const XmlNode folder = m_window.m_objDOMSitePins.nodeFromID(TreeNode::tagOf(node));
    if (!folder)
        return {};
    const MessageAnswer answer = m_window.message(
        QStringLiteral("Export only the folder \"%1\" and the folders in it?\n\nAnswer No to export the whole "
                       "library.")
            .arg(folder.selectSingleNode(QStringLiteral("NAME")).text()),
        QStringLiteral("Export bookmarks"), MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    return answer == MessageAnswer::Yes ? folder : XmlNode();
}

void BookmarkExport::exportAs(BookmarkFormat format)
{
    const XmlNode folder = chosenFolder();
    const bool xbel = format == BookmarkFormat::Xbel;
    const QString path = m_window.dialogs().getSaveFileName(
        &m_window,
        {xbel ? QStringLiteral("Export to an XBEL file") : QStringLiteral("Export to a Netscape bookmark file"),
         QDir::home().filePath(xbel ? QStringLiteral("bookmarks.xbel") : QStringLiteral("bookmarks.html")),
         xbel ? QStringLiteral("XBEL files (*.xbel *.xml)") : QStringLiteral("Netscape bookmark files (*.html *.htm)"),
         xbel ? QStringLiteral("xbel") : QStringLiteral("html")});
    if (path.isEmpty())
        return;
    const LibraryExport::Outcome outcome =
        LibraryExport::toFile(path, folder ? folder : m_window.m_objDOMSitePins.documentElement(), format);
    const QString title = QString::fromLatin1(frmSitePins::kWindowTitle);
    if (!outcome.saved) {
        m_window.message(QStringLiteral("The bookmarks could not be written to %1.\n\n%2")
                             .arg(QDir::toNativeSeparators(path), outcome.saved.errorString),
                         title, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    m_window.message(QStringLiteral("Exported %1 folders and %2 SitePins to %3.")
                         .arg(outcome.folders)
                         .arg(outcome.sitePins)
                         .arg(QDir::toNativeSeparators(path)),
                     title, MessageButtons::Ok, MessageIcon::Information);
}
