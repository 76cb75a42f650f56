#include "LibraryText.h"
#include "store/DefaultLibraryLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DefaultLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }

    QString programFolder() const { return m_install.filePath("bin"); }
    QString templatePath() const { return m_install.filePath("share/sitepins/SitePins.xml"); }

    QTemporaryDir m_install;
    QTemporaryDir m_data;
};

} // namespace

TEST_F(DefaultLibraryTest, aLibraryBesideTheProgramIsUsedAsItIs)
{
    const QString beside = programFolder() + "/MySitePins/SitePins.xml";
    ASSERT_TRUE(LibraryText::writeFile(beside, "mine"));
    ASSERT_TRUE(LibraryText::writeFile(templatePath(), "template"));
    EXPECT_EQ(DefaultLibraryLocation(programFolder()).resolve(), beside);
    EXPECT_EQ(LibraryText::readFile(beside), "mine");
}

TEST_F(DefaultLibraryTest, anInstalledProgramKeepsTheLibraryInTheUsersDataFolder)
{
    ASSERT_TRUE(LibraryText::writeFile(templatePath(), "template"));
    QDir().mkpath(programFolder());
    const QString personal = DefaultLibraryLocation(programFolder()).resolve();
    EXPECT_EQ(personal, m_data.filePath("SitePins/MySitePins/SitePins.xml"));
    EXPECT_EQ(LibraryText::readFile(personal), "template") << "seeded from the installed empty library";
    EXPECT_TRUE(QFileInfo(personal).isWritable());

    ASSERT_TRUE(LibraryText::writeFile(personal, "filled by the user"));
    EXPECT_EQ(DefaultLibraryLocation(programFolder()).resolve(), personal);
    EXPECT_EQ(LibraryText::readFile(personal), "filled by the user") << "never seeded twice";
}

TEST_F(DefaultLibraryTest, withNeitherTheLibraryBesideTheProgramIsStillThePathToOpen)
{
    EXPECT_EQ(DefaultLibraryLocation(programFolder()).resolve(), programFolder() + "/MySitePins/SitePins.xml");
}

// The build puts the empty library in place; a rebuild must not overwrite
// one the user has filled.
TEST(BuildStep, copiesTheEmptyLibraryOnlyWhenNoneExists)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("empty.xml");
    const QString target = dir.filePath("MySitePins/SitePins.xml");
    ASSERT_TRUE(LibraryText::writeFile(source, "empty"));
    const auto runStep = [&] {
        return QProcess::execute("cmake", {"-DSRC=" + source, "-DDST=" + target, "-P",
                                           QStringLiteral(SITEPINS_SOURCE_DIR "/cmake/CopyIfMissing.cmake")});
    };
    ASSERT_EQ(runStep(), 0);
    EXPECT_EQ(LibraryText::readFile(target), "empty");
    ASSERT_TRUE(LibraryText::writeFile(target, "the user's library"));
    ASSERT_EQ(runStep(), 0);
    EXPECT_EQ(LibraryText::readFile(target), "the user's library");
}
