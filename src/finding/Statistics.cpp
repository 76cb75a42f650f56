#include "finding/Statistics.h"

#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "store/XmlNode.h"

#include <QTreeWidget>

Statistics::Statistics(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuViewStats"), [this] { mnuViewStats_Click(); });
}

void Statistics::mnuViewStats_Click()
{
    m_window.message(QStringLiteral("Total folders: %1  Total SitePins: %2").arg(folderNodeCount()).arg(sitePinCount()),
                     QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Information);
}

// The tree's root counts as a folder.
int Statistics::folderNodeCount() const
{
    int count = 0;
    for (QTreeWidgetItemIterator it(m_window.ui().tvwTopics); *it; ++it)
        ++count;
    return count;
}

int Statistics::sitePinCount() const
{
    return m_window.m_objDOMSitePins.documentElement().countElementsByTagName(QStringLiteral("SITEPIN"));
}
