#include "LibraryText.h"
#include "store/DefaultLibraryLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using L = LibraryText;

class DefaultLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_DATA_HOME", m_data.path().toUtf8()); }
    QString resolve() const { return DefaultLibraryLocation(m_program).resolve(); }

    QTemporaryDir m_install, m_data;
    const QString m_program = m_install.filePath("bin");
    const QString m_template = m_install.filePath("share/sitepins/SitePins.xml");
};

} // namespace

TEST_F(DefaultLibraryTest, aLibraryBesideTheProgramIsUsedAsItIs)
{
    const QString beside = m_program + "/MySitePins/SitePins.xml";
    EXPECT_EQ(resolve(), beside) << "with neither library, still the path to open";
    ASSERT_TRUE(L::writeFile(beside, "mine"));
    ASSERT_TRUE(L::writeFile(m_template, "template"));
    EXPECT_EQ(resolve(), beside);
    EXPECT_EQ(L::readFile(beside), "mine");
}

TEST_F(DefaultLibraryTest, anInstalledProgramKeepsTheLibraryInTheUsersDataFolder)
{
    ASSERT_TRUE(L::writeFile(m_template, "template"));
    QDir().mkpath(m_program);
    const QString personal = resolve();
    EXPECT_EQ(personal, m_data.filePath("SitePins/MySitePins/SitePins.xml"));
    EXPECT_EQ(L::readFile(personal), "template") << "seeded from the installed empty library";
    EXPECT_TRUE(QFileInfo(personal).isWritable());
    ASSERT_TRUE(L::writeFile(personal, "filled by the user"));
    EXPECT_EQ(resolve(), personal);
    EXPECT_EQ(L::readFile(personal), "filled by the user") << "never seeded twice";
}

// The build puts the empty library in place; a rebuild must not overwrite
// one the user has filled.
TEST(BuildStep, copiesTheEmptyLibraryOnlyWhenNoneExists)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("empty.xml");
    const QString target = dir.filePath("MySitePins/SitePins.xml");
    ASSERT_TRUE(L::writeFile(source, "empty"));
    const auto runStep = [&] {
        return QProcess::execute("cmake", {"-DSRC=" + source, "-DDST=" + target, "-P",
                                           QStringLiteral(SITEPINS_SOURCE_DIR "/cmake/CopyIfMissing.cmake")});
    };
    ASSERT_EQ(runStep(), 0);
    EXPECT_EQ(L::readFile(target), "empty");
    ASSERT_TRUE(L::writeFile(target, "the user's library"));
    ASSERT_EQ(runStep(), 0);
    EXPECT_EQ(L::readFile(target), "the user's library");
}
