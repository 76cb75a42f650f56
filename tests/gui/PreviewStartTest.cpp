#include "PreviewFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// Processes of the web engine started by this one.
int webEngineChildren()
{
    const QString self = QString::number(getpid());
    int count = 0;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid ...: the name may hold spaces and brackets.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        const QString program = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        if (rest.size() > 1 && rest[1] == self && program.endsWith(QLatin1String("/QtWebEngineProcess")))
            ++count;
    }
    return count;
}

bool webEngineLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

class PreviewStartTest : public PreviewFixture
{
};

} // namespace

// Opening the program and browsing the library, previews blanked, cost no
// web engine: neither its libraries nor its processes.
TEST_F(PreviewStartTest, theWebEngineStartsWithTheFirstPagePreviewed)
{
    startOnPages();
    clickSitePin("A");
    showPreviewTab();
    runMenu("mnuEditModify");
    m_dialogs.answerNext(MessageAnswer::Yes);
    clickToolbarButton(21);
    clickSitePin("B");
    EXPECT_FALSE(webEngineLibraryLoaded());
    EXPECT_EQ(webEngineChildren(), 0);

    showPreviewTab();
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/b")));
    EXPECT_TRUE(webEngineLibraryLoaded());
    EXPECT_GT(webEngineChildren(), 0);
}
