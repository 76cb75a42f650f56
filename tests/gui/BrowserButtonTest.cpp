#include "DevToolsSession.h"
#include "HeadlessBrowser.h"
#include "MainWindowFixture.h"
#include "PageServer.h"
#include "TestEnvironment.h"
#include "browser/BrowserIntegration.h"
#include "platform/browser/ExtensionId.h"
#include "platform/browser/ExtensionKey.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int kWaitMs = 60000;
constexpr int kAttemptMs = 10000;

// The integrated extension in a real headless Chromium, driven as the user
// would: its button or page menu entry used on a page served here. Chromium
// cannot click its toolbar headless, so the test calls, inside the
// extension's service worker, the very functions the button's and the menu
// entry's click events call. The program folder holds the real host and,
// as the program, a stand-in that notes how it was started.
class BrowserButtonTest : public MainWindowFixture
{
protected:
    BrowserButtonTest() { m_pages.setTitledPage("/kept.html", "Kept page", "Keep me"); }

    void SetUp() override
    {
        ASSERT_FALSE(HeadlessBrowser::executable(HeadlessBrowser::Kind::Chromium).isEmpty())
            << "scripts/setup.sh installs chromium";
        MainWindowFixture::SetUp();
        writeLibraryBody(LibraryText::folder(1, "Work"));
        const QDir program(programFolder());
        for (const char *icon : {"Icon.ico", "HotIcon.ico"})
            ASSERT_TRUE(QFile::copy(TestEnvironment::iconFile(icon), program.filePath(icon)));
        ASSERT_TRUE(QFile::link(TestEnvironment::bridgeHostPath(), program.filePath("SitePinsBridge")));
        ASSERT_TRUE(QFile::link(TestEnvironment::toolPath("program_stand_in"), program.filePath("SitePins")));
        qputenv("SITEPINS_STAND_IN_LOG", startsLog().toUtf8());
        IntegrationPlaces &places = m_environment.integrationPlaces;
        places.dataFolder = m_root.filePath("data/SitePins");
        // The browser reads host manifests and external extensions from
        // the user data folder it was started with.
        places.chromiumUserDataFolders = {m_chromium.userDataDir()};
        places.mozillaFolder = m_root.filePath("mozilla");
        places.systemWide = false;
    }

    void TearDown() override
    {
        m_chromium.stop();
        MainWindowFixture::TearDown();
    }

    QString startsLog() const { return m_root.filePath("starts.log"); }
    QString pageUrl() const { return m_pages.url("/kept.html"); }

    QString installationId() const
    {
        QString error;
        const auto key = ExtensionKey::load(m_environment.integrationPlaces.keyFile(), &error);
        return key ? ExtensionId::fromPublicKey(key->publicKeyDer()) : QString();
    }

    void integrate()
    {
        runMenu("mnuToolsIntegrate");
        ASSERT_EQ(m_dialogs.shown().size(), 1u);
        ASSERT_EQ(m_dialogs.shown().front().request.icon, MessageIcon::Information)
            << m_dialogs.lastText().toStdString();
        m_dialogs.forget();
    }

    void startChromium(const QStringList &arguments)
    {
        QString error;
        ASSERT_TRUE(m_chromium.startWithDebugging(arguments + QStringList{pageUrl()}, kWaitMs, &error))
            << error.toStdString();
    }

    void startChromiumWithTheGeneratedFolder()
    {
        const QString extension = m_environment.integrationPlaces.extensionFolder("chromium");
        startChromium({"--load-extension=" + extension, "--disable-extensions-except=" + extension});
    }

    // The extension's service worker, once the browser has it running.
    QString workerTarget(const QString &id)
    {
        QString target;
        (void)QTest::qWaitFor(
            [&] {
                target = DevToolsSession::findTarget(m_chromium.devToolsPort(), "service_worker",
                                                     "chrome-extension://" + id + "/");
                return !target.isEmpty();
            },
            kWaitMs);
        return target;
    }

    // Whether the worker has run the extension's script: a session may
    // attach before it has, and the browser drops a worker that is asked
    // for tabs then.
    static bool extensionLoaded(DevToolsSession &worker)
    {
        const QDeadlineTimer deadline(kAttemptMs);
        while (!deadline.hasExpired()) {
            if (worker.evaluate("typeof captureFromButton", kAttemptMs).value("value").toString() == "function")
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    // Calls a click handler of the extension on the served page's tab, in
    // a session of its own each try: the browser may start the worker
    // anew while the extension settles in.
    QString clickOnThePage(const QString &handlerCall)
    {
        const QString script = "(async () => { const tab = (await chrome.tabs.query({})).find("
                               "t => t.title === 'Kept page'); if (!tab) return ''; await " +
                               handlerCall + "; return tab.url; })()";
        QString result;
        const QDeadlineTimer deadline(kWaitMs);
        while (!deadline.hasExpired()) {
            DevToolsSession worker;
            const QString target = workerTarget(installationId());
            if (!target.isEmpty() && worker.open(target, kAttemptMs) && extensionLoaded(worker)) {
                const QJsonObject answer = worker.evaluate(script, kAttemptMs);
                result = answer.contains("exception") ? answer.value("exception").toString()
                                                      : answer.value("value").toString();
                if (result.startsWith("http"))
                    break;
            }
            QTest::qWait(500);
        }
        return result;
    }

    QString mode() { return ui().txtMode->text(); }

    QTemporaryDir m_root;
    PageServer m_pages;
    HeadlessBrowser m_chromium;
};

} // namespace

// The program runs: the button, then the menu entry, opens the create on
// the page the user is on in the running window; nothing is started.
TEST_F(BrowserButtonTest, theButtonAndTheMenuEntryHandThePageToTheRunningProgram)
{
    m_environment.instanceName = QStringLiteral("SitePins"); // the name the host looks for
    start();
    integrate();
    startChromiumWithTheGeneratedFolder();
    ASSERT_FALSE(workerTarget(installationId()).isEmpty()) << "the extension does not run";

    EXPECT_EQ(clickOnThePage("captureFromButton(tab)").toStdString(), pageUrl().toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode() == "add"; }, kWaitMs));
    EXPECT_EQ(ui().txtWName->text(), "Kept page");
    EXPECT_EQ(ui().txtAddress->text(), pageUrl());

    m_dialogs.answerNext(MessageAnswer::Yes);
    clickToolbarButton(21); // cancel the edit
    ASSERT_EQ(mode(), "");
    EXPECT_EQ(clickOnThePage("captureFromMenu({menuItemId: 'create-sitepin', pageUrl: tab.url}, tab)").toStdString(),
              pageUrl().toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode() == "add"; }, kWaitMs));
    EXPECT_EQ(ui().txtAddress->text(), pageUrl());
    EXPECT_FALSE(QFileInfo::exists(startsLog()));
}

// The program does not run: the host starts Exec for that page.
TEST_F(BrowserButtonTest, theButtonStartsTheProgramForThePageWhenItDoesNotRun)
{
    start(); // under a channel name of its own: the host finds no program running
    integrate();
    startChromiumWithTheGeneratedFolder();
    ASSERT_FALSE(workerTarget(installationId()).isEmpty()) << "the extension does not run";
    EXPECT_EQ(clickOnThePage("captureFromButton(tab)").toStdString(), pageUrl().toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(startsLog()).size() > 0; }, kWaitMs));
    QFile log(startsLog());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(log.readLine()).array(),
              (QJsonArray{"--capture-url=" + pageUrl(), "--capture-title=Kept page"}));
    EXPECT_EQ(mode(), "");
}

// The packed extension installs itself from the External Extensions file at
// the browser's start, under the installation's id, which the host
// manifests let in.
TEST_F(BrowserButtonTest, chromiumInstallsThePackedExtensionUnderTheInstallationsId)
{
    m_environment.instanceName = QStringLiteral("SitePins");
    start();
    integrate();
    startChromium({});
    ASSERT_FALSE(workerTarget(installationId()).isEmpty()) << "the extension does not run";
    EXPECT_EQ(clickOnThePage("captureFromButton(tab)").toStdString(), pageUrl().toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode() == "add"; }, kWaitMs));
    EXPECT_EQ(ui().txtWName->text(), "Kept page");
}
