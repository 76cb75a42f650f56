#include "mainwindow/RemoteCommands.h"

#include "browser/BookmarkImport.h"
#include "commandline/CommandRequest.h"
#include "commandline/LibraryCommands.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"

#include <QApplication>
#include <QFileInfo>
#include <QTreeWidget>

RemoteCommands::RemoteCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
}

Message RemoteCommands::answer(const Message &command)
{
    const std::optional<CommandRequest::Decoded> request = CommandRequest::decode(command);
    if (!request)
        return CommandRequest::encodeReply(
            true, CommandResult::failed(QStringLiteral("SitePins Manager did not understand the command.")));
    if (!hasLibraryOpen(request->library))
        return CommandRequest::encodeReply(false);
    if (const QString busy = busyReason(); !busy.isEmpty())
        return CommandRequest::encodeReply(true, CommandResult::failed(busy));
    if (request->options.action == CommandLineOptions::Action::Add)
        return CommandRequest::encodeReply(true, add(request->options));
    return CommandRequest::encodeReply(true, m_window.bookmarkImport().importHandedOver(request->options.file));
}

bool RemoteCommands::hasLibraryOpen(const QString &library) const
{
    if (m_window.isDegraded())
        return false;
    const QString open = QFileInfo(m_window.m_strLibraryPath).canonicalFilePath();
    return !open.isEmpty() && open == QFileInfo(library).canonicalFilePath();
}

QString RemoteCommands::busyReason() const
{
    if (QApplication::activeModalWidget())
        return QStringLiteral("SitePins Manager has a dialog open. Close it and try again; nothing was changed.");
    if (!m_window.ui().txtMode->text().isEmpty())
        return QStringLiteral("SitePins Manager has a SitePin open for editing. Save or cancel it and try again; "
                              "nothing was changed.");
    return {};
}

CommandResult RemoteCommands::add(const CommandLineOptions &options)
{
    const LibraryCommands::Library library{m_window.getMyDB(), m_window.m_objDOMSitePins,
                                           m_window.environment().today(), [this] {
                                               return m_window.saveLibraryQuietly();
                                           }};
    SitePinAddition::Outcome added;
    const CommandResult result = LibraryCommands::add(library, options, &added);
    if (result.exitCode == 0)
        showAddition(added);
    return result;
}

// New folders join the tree; the list is filled again if it shows the
// SitePin's folder.
void RemoteCommands::showAddition(const SitePinAddition::Outcome &added)
{
    FolderTree &tree = m_window.folderTree();
    if (!added.createdFolders.empty()) {
        const XmlNode outermost = added.createdFolders.front();
        const XmlNode parent = outermost.parentNode().parentNode();
        QTreeWidgetItem *parentNode = parent.nodeName() == QLatin1String("FOLDER")
                                          ? tree.findNodeByTag(parent.getAttribute(QStringLiteral("TID")))
                                          : tree.rootNode();
        if (parentNode) {
            tree.addFolderNode(outermost, parentNode, false);
            TreeNode::sortChildren(parentNode);
        }
    }
    const QString tid = added.folder.getAttribute(QStringLiteral("TID"));
    if (m_window.ui().txtTID->text() == tid)
        tree.populateSitePinList(tree.findNodeByTag(tid));
}
