#include "MainWindowFixture.h"
#include "PeerHost.h"
#include "ProgramRun.h"
#include "ScopedVariable.h"
#include "platform/InstanceChannel.h"

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

    int runSecondStart() { return ProgramRun::run({}, m_scratch.path()).exitCode; }

    QTemporaryDir m_scratch;
};

} // namespace

// The first instance here starts over the socket a killed one left behind.
TEST_F(HandOverTest, secondStartHandsOverAFreshTextAndEndsWhateverAKilledInstanceLeft)
{
    ASSERT_FALSE(ProgramRun::program().isEmpty());
    QProcess crashed;
    crashed.setProcessEnvironment(ProgramRun::environment(m_scratch.path()));
    crashed.start(ProgramRun::program(), {});
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

// Regression: when the running instance did not answer (stopped, hung, or its
// channel gone), a second start waited, showed nothing and ended as if it
// had handed over.
TEST_F(HandOverTest, aSecondStartSaysSoWhenTheRunningInstanceDoesNotAnswer)
{
    m_environment.instanceName = QStringLiteral("SitePinsSilent");
    m_environment.handOverTimeoutMs = 300;
    PeerHost running(m_environment.instanceName);
    ASSERT_TRUE(running.isReady());
    running.stop();
    for (const bool socketGone : {false, true}) {
        SCOPED_TRACE(socketGone ? "its socket gone" : "stopped");
        if (socketGone) {
            ASSERT_TRUE(QFile::remove(InstanceChannel(m_environment.instanceName).socketPath()));
        }
        EXPECT_EQ(prepareWindow(), frmSitePins::StartOutcome::NoAnswer);
        expectOnlyMessage("SitePins Manager is already running but does not respond. Close it, or end it from the "
                          "system monitor, and start SitePins Manager again.",
                          "SitePins Manager", MessageButtons::Ok, MessageIcon::Exclamation);
        EXPECT_FALSE(window().isVisible());
    }
}

// Regression: with no private runtime folder to be had, the program ran
// without its channel and said nothing, so a second start opened a second
// window on the same library.
TEST_F(HandOverTest, withoutAPrivateFolderTheStartRunsAloneAndSaysSo)
{
    QTemporaryDir cache;
    QFile blocker(cache.filePath(QStringLiteral("SitePins"))); // a file where the folders belong
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const ScopedVariable noRuntime("XDG_RUNTIME_DIR", QString());
    const ScopedVariable cacheHome("XDG_CACHE_HOME", cache.path());
    start();
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_TRUE(m_dialogs.lastText().startsWith("SitePins Manager cannot check whether it is already running: "))
        << m_dialogs.lastText().toStdString();
    EXPECT_TRUE(m_dialogs.lastText().contains(blocker.fileName()));
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(window().isDegraded());
}
