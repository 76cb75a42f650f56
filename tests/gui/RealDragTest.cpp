#include "MainWindowFixture.h"

#include <QProcess>
#include <QStandardPaths>

// Drag and drop through the platform's own drag loop: the offscreen
// platform has none, so RealDragTest starts an X server and runs the RealDrag
// cases in a child process on it, the pointer driven by xdotool.

namespace {

QString library()
{
    using L = LibraryText;
    return L::folder(1, "Work", L::sitePin(1, "Intranet") + L::sitePin(2, "Wiki"),
                     L::folder(3, "Projects", L::sitePin(3, "Tracker"))) +
           L::folder(2, "Home", L::sitePin(4, "Bank"));
}

bool isXServerRun()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

class RealDrag : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        if (!isXServerRun())
            GTEST_SKIP() << "needs an X server; RealDragTest.dragsWithARealPointerOnAnXServer runs it";
        MainWindowFixture::SetUp();
        startWith(library());
    }

    QPoint centreOf(QTreeView *list, const QModelIndex &entry)
    {
        list->scrollTo(entry);
        return list->viewport()->mapToGlobal(list->visualRect(entry).center());
    }
    QPoint centreOf(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->scrollToItem(item);
        return tree->viewport()->mapToGlobal(tree->visualItemRect(item).center());
    }

    // Presses, moves through `path` and releases at its end, as a hand on
    // the mouse would; the pauses let the window follow each step.
    void dragWithTheMouse(const QPoint &from, const QList<QPoint> &path)
    {
        const auto at = [](const QPoint &point) {
            return QStringList{QString::number(point.x()), QString::number(point.y())};
        };
        QStringList steps = QStringList{"mousemove", "--sync"} + at(from) +
                            QStringList{"sleep", "0.3", "mousedown", "1", "sleep", "0.3"};
        for (const QPoint &point : path)
            steps << QStringList{"mousemove"} + at(point) + QStringList{"sleep", "0.15"};
        steps << QStringList{"sleep", "0.3", "mouseup", "1"};
        QProcess xdotool;
        xdotool.start("xdotool", steps);
        ASSERT_TRUE(xdotool.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 30000));
        EXPECT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
    }

    static QList<QPoint> straightTo(const QPoint &from, const QPoint &to)
    {
        QList<QPoint> path;
        for (int step = 1; step <= 6; ++step)
            path << from + (to - from) * step / 6;
        return path;
    }
};

TEST_F(RealDrag, aSitePinDroppedOnAFolderMovesThere)
{
    clickFolder("Work");
    const QPoint from = centreOf(ui().tvwWM, entry(ui().tvwWM, "Wiki"));
    const QPoint to = centreOf(ui().tvwTopics, folderNode("Home"));
    dragWithTheMouse(from, straightTo(from, to));

    ASSERT_TRUE(QTest::qWaitFor([this] { return entryNames(ui().tvwWM) == QStringList({"Intranet"}); }, 5000))
        << entryNames(ui().tvwWM).join(", ").toStdString();
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), "T2");
    EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Work"));
}

// Dropped back on the pressed node, which is selected, nothing may move and
// the release must not count as a click that starts a rename.
TEST_F(RealDrag, aFolderDroppedOnItselfStaysAndOneDroppedOnTheRootBecomesABaseFolder)
{
    clickFolder("Projects");
    const QByteArray before = fileBytes();
    const QPoint from = centreOf(ui().tvwTopics, folderNode("Projects"));
    const QPoint away = centreOf(ui().tvwTopics, folderNode("Home"));
    dragWithTheMouse(from, straightTo(from, away) + straightTo(away, from));
    QTest::qWait(QApplication::doubleClickInterval() + 300);
    EXPECT_FALSE(ui().tvwTopics->viewport()->findChild<QLineEdit *>());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(folderNode("Projects")->parent(), folderNode("Work"));
    EXPECT_TRUE(m_dialogs.shown().empty());

    const QPoint to = centreOf(ui().tvwTopics, window().folderTree().rootNode());
    dragWithTheMouse(from, straightTo(from, to));
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return folderNode("Projects")->parent() == window().folderTree().rootNode(); }, 5000));
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "T3"), "FOLDERS");
}

TEST(RealDragTest, dragsWithARealPointerOnAnXServer)
{
    if (isXServerRun())
        GTEST_SKIP() << "already on the X server";
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    ASSERT_FALSE(xvfb.isEmpty()) << "Xvfb is missing; scripts/setup.sh installs it";
    ASSERT_FALSE(QStandardPaths::findExecutable("xdotool").isEmpty()) << "xdotool is missing";

    // The server picks a free display itself and names it once it is ready.
    QProcess server;
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1280x900x24", "-nolisten", "tcp"});
    const auto stopServer = qScopeGuard([&server] {
        server.terminate();
        if (!server.waitForFinished(5000))
            server.kill();
    });
    ASSERT_TRUE(server.waitForStarted(5000));
    QByteArray display;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            display += server.readAllStandardOutput();
            return display.contains('\n');
        },
        20000))
        << server.readAllStandardError().toStdString();

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", ":" + QString::fromLatin1(display.trimmed()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=RealDrag.*"});
    const auto stopChild = qScopeGuard([&child] { child.kill(); });
    ASSERT_TRUE(child.waitForFinished(180000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 2 tests.")) << output.toStdString();
}

} // namespace
