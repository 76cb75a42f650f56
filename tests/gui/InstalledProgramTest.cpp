#include "TestFiles.h"
#include "mainwindow/ProgramIdentity.h"
#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool touch(const QString &path)
{
    return TestFiles::write(path, {});
}

// A build keeps the program's files beside it; an installed program, in
// usr/bin, finds them in usr/share/sitepins.
TEST(InstalledProgram, filesAreFoundBesideTheProgramOrInItsDataFolder)
{
    QTemporaryDir prefix;
    const QString bin = prefix.filePath("usr/bin");
    const QString beside = bin + "/SitePins Help.chm";
    const QString shared = prefix.filePath("usr/share/sitepins/SitePins Help.chm");
    struct Row
    {
        bool besideExists;
        bool sharedExists;
        QString expected;
    };
    const Row rows[] = {{true, false, beside}, {false, true, shared}, {true, true, beside}, {false, false, beside}};
    for (const Row &row : rows) {
        QFile::remove(beside);
        QFile::remove(shared);
        ASSERT_TRUE(!row.besideExists || touch(beside));
        ASSERT_TRUE(!row.sharedExists || touch(shared));
        EXPECT_EQ(ProgramFiles(bin).path("SitePins Help.chm"), row.expected) << row.besideExists << row.sharedExists;
    }
}

void drawIcon(const QString &path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(image.save(path));
}

class WindowIcon : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_searchPaths = QIcon::themeSearchPaths();
        m_themeName = QIcon::themeName();
    }
    void TearDown() override
    {
        QIcon::setThemeSearchPaths(m_searchPaths);
        QIcon::setThemeName(m_themeName);
    }

    QString iconName = ProgramIdentity::kDesktopId;
    QTemporaryDir m_folder;
    QStringList m_searchPaths;
    QString m_themeName;
};

// In a build the icons drawn beside the program stand in for the theme's.
TEST_F(WindowIcon, aBuildUsesTheIconsDrawnBesideIt)
{
    QIcon::setThemeSearchPaths({m_folder.filePath("no-theme")});
    const QDir theme(m_folder.filePath("build/icons/hicolor"));
    drawIcon(theme.filePath("16x16/apps/" + iconName + ".png"), 16);
    drawIcon(theme.filePath("48x48/apps/" + iconName + ".png"), 48);
    const QIcon icon = ProgramIdentity::windowIcon(m_folder.filePath("build"));
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {48, 48}}));
    EXPECT_TRUE(ProgramIdentity::windowIcon(m_folder.filePath("elsewhere")).isNull());
}

// Installed, the icon comes from the theme, where the menu entry finds it too.
TEST_F(WindowIcon, anInstalledProgramTakesItsIconFromTheTheme)
{
    const QDir icons(m_folder.filePath("share/icons"));
    ASSERT_TRUE(
        TestFiles::write(icons.filePath("hicolor/index.theme"),
                         "[Icon Theme]\nName=Hicolor\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n"));
    drawIcon(icons.filePath("hicolor/32x32/apps/" + iconName + ".png"), 32);
    QIcon::setThemeSearchPaths({icons.path()});
    // Every theme falls back to hicolor, where the package puts the icon.
    QIcon::setThemeName("hicolor");
    const QIcon icon = ProgramIdentity::windowIcon(m_folder.filePath("usr/bin"));
    EXPECT_EQ(icon.name(), iconName);
    EXPECT_FALSE(icon.pixmap(32).isNull());
}

} // namespace
