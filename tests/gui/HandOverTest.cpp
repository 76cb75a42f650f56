#include "MainWindowFixture.h"
#include "platform/InstanceChannel.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>

#include <csignal>

namespace {

// Starts of the real program, as a browser button would start it.
class HandOverTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_environment.instanceName = QStringLiteral("SitePins"); // the name the program itself uses
        writeLibraryBody(LibraryText::folder(1, "Work"));
    }

    static QString program() { return qEnvironmentVariable("SITEPINS_PROGRAM"); }

    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", m_scratch.path());
        env.insert("XDG_DATA_HOME", m_scratch.path());
        return env;
    }

    // Runs a second start to its end while this process keeps serving events.
    int runSecondStart()
    {
        QProcess second;
        second.setProcessEnvironment(programEnvironment());
        second.start(program(), {});
        EXPECT_TRUE(second.waitForStarted());
        EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000))
            << "the second start must end by itself";
        return second.exitCode();
    }

    QTemporaryDir m_scratch;
};

} // namespace

// The first instance here starts over the socket a killed one left behind.
TEST_F(HandOverTest, secondStartHandsOverAFreshTextAndEndsWhateverAKilledInstanceLeft)
{
    ASSERT_FALSE(program().isEmpty());
    QProcess crashed;
    crashed.setProcessEnvironment(programEnvironment());
    crashed.start(program(), {});
    ASSERT_TRUE(crashed.waitForStarted());
    const QString socket = InstanceChannel(QStringLiteral("SitePins")).socketPath();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 20000));
    ::kill(pid_t(crashed.processId()), SIGKILL);
    crashed.waitForFinished();
    EXPECT_TRUE(QFileInfo::exists(socket)) << "the killed instance left its socket behind";

    start();
    EXPECT_TRUE(window().isVisible()) << "this start became the running instance";
    QSignalSpy changes(ui().ThunderTextBox, &StateField::changed);
    QSignalSpy ticks(ui().Timer1, &QTimer::timeout);
    EXPECT_EQ(runSecondStart(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() == 1; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.size() == 1; }, 5000));
    EXPECT_TRUE(ui().Timer1->isSingleShot()) << "the capture timer fires once per hand-over";
    EXPECT_FALSE(ui().Timer1->isActive());
    const QString first = ui().ThunderTextBox->text();
    EXPECT_TRUE(first.toInt() >= 1 && first.toInt() <= 1000000) << first.toStdString();

    EXPECT_EQ(runSecondStart(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() == 2; }, 5000));
    EXPECT_NE(ui().ThunderTextBox->text(), first) << "two hand-overs in a row differ";
    EXPECT_EQ(changes.size(), 2);
}
