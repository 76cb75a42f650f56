#include "help/HelpViewerHost.h"

#include "help/HelpPopup.h"
#include "help/HelpViewer.h"
#include "help/logic/ChmArchive.h"
#include "help/logic/HelpTarget.h"
#include "help/logic/PopupTextFile.h"
#include "platform/ui/UserDialogs.h"

#include <QFileInfo>

namespace {

QString absolutePath(const QString &file)
{
    return QFileInfo(file).absoluteFilePath();
}

template<typename T>
T dataAs(const HelpCommandData &data)
{
    const T *value = std::get_if<T>(&data);
    return value ? *value : T();
}

} // namespace

HelpViewerHost::HelpViewerHost(UserDialogs &dialogs, DesktopServices *desktop, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
    , m_desktop(desktop)
{
}

HelpViewerHost::~HelpViewerHost()
{
    closeAll();
}

HelpViewer *HelpViewerHost::viewer() const
{
    return m_viewer;
}

HelpPopup *HelpViewerHost::popup() const
{
    return m_popup;
}

void HelpViewerHost::closeAll()
{
    delete m_popup.data();
    delete m_viewer.data();
}

WId HelpViewerHost::HtmlHelpA(QWidget *owner, const QString &file, int command, const HelpCommandData &data)
{
    if (command == HH_CLOSE_ALL) {
        closeAll();
        return 0;
    }
    if (command == HH_DISPLAY_TEXT_POPUP)
        return showPopup(owner, file, dataAs<HelpPopupRecord>(data));

    const HelpTarget target = HelpTarget::parse(file);
    if (target.file.isEmpty())
        return 0;
    bool opened = false;
    HelpViewer *viewer = viewerFor(target.file, opened);
    if (!viewer)
        return 0;
    if (!run(viewer, command, target.topic, data)) {
        if (opened)
            delete viewer;
        return 0;
    }
    if (viewer->currentTopic().isEmpty())
        viewer->showHome();
    adopt(viewer, owner);
    if (viewer->isMinimized())
        viewer->showNormal();
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    // Lookups may say they found nothing; they do so over the shown viewer.
    if (command == HH_KEYWORD_LOOKUP)
        viewer->lookUpKeywords(dataAs<HelpLinkRecord>(data));
    else if (command == HH_ALINK_LOOKUP)
        viewer->lookUpAssociativeLinks(dataAs<HelpLinkRecord>(data));
    return m_viewer ? viewer->winId() : 0;
}

HelpViewer *HelpViewerHost::viewerFor(const QString &file, bool &opened)
{
    const QString path = absolutePath(file);
    if (m_viewer && absolutePath(m_viewer->helpFile()) == path)
        return m_viewer;
    auto archive = std::make_shared<ChmArchive>(path);
    if (!archive->isOpen()) {
        m_dialogs.showMessage(nullptr,
                              {QStringLiteral("Cannot open the file %1: it is not a help file, or it is "
                                              "damaged.")
                                   .arg(path),
                               QString::fromLatin1(kMessageTitle), MessageButtons::Ok, MessageIcon::Exclamation});
        return nullptr;
    }
    delete m_viewer.data();
    m_viewer = new HelpViewer(std::move(archive), m_dialogs, m_desktop);
    opened = true;
    return m_viewer;
}

// An owned viewer stays above its owner and goes with it; an unowned one
// is a window of its own.
void HelpViewerHost::adopt(HelpViewer *viewer, QWidget *owner)
{
    QWidget *ownerWindow = owner ? owner->window() : nullptr;
    if (viewer->parentWidget() == ownerWindow)
        return;
    const QRect geometry = viewer->geometry();
    const bool placed = viewer->isVisible();
    viewer->setParent(ownerWindow, Qt::Window);
    if (placed)
        viewer->setGeometry(geometry);
}

bool HelpViewerHost::run(HelpViewer *viewer, int command, const QString &topic, const HelpCommandData &data)
{
    switch (command) {
    case HH_DISPLAY_TOPIC: {
        const QString wanted = dataAs<QString>(data).isEmpty() ? topic : dataAs<QString>(data);
        return wanted.isEmpty() || viewer->showTopic(wanted);
    }
    case HH_DISPLAY_TOC:
        viewer->showPage(HelpViewer::ContentsPage);
        return topic.isEmpty() || viewer->showTopic(topic);
    case HH_DISPLAY_INDEX:
        viewer->showPage(HelpViewer::IndexPage);
        return true;
    case HH_DISPLAY_SEARCH:
        viewer->showSearch(dataAs<HelpSearchQuery>(data).searchQuery);
        return true;
    case HH_HELP_CONTEXT:
        return viewer->showContext(dataAs<qint32>(data));
    case HH_KEYWORD_LOOKUP:
    case HH_ALINK_LOOKUP:
        return true;
    default:
        return false;
    }
}

WId HelpViewerHost::showPopup(QWidget *owner, const QString &file, const HelpPopupRecord &record)
{
    QString text = record.text;
    if (!file.isEmpty()) {
        const HelpTarget target = HelpTarget::parse(file);
        const ChmArchive archive(absolutePath(target.file));
        const auto popups = archive.read(ChmArchive::archivePath(target.topic));
        text = popups ? PopupTextFile::parse(*popups).text(record.idString) : QString();
    }
    if (text.isEmpty())
        return 0;
    delete m_popup.data();
    m_popup = new HelpPopup(text, record, owner ? owner->window() : nullptr);
    m_popup->showAt(record.position);
    return m_popup->winId();
}
