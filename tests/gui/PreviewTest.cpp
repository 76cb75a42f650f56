#include "PreviewFixture.h"

#include <QDesktopServices>
#include <QTcpServer>

namespace {

// Stands in for the desktop's mail program.
class MailProgram : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class PreviewTest : public PreviewFixture
{
};

// A port nothing listens on.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

TEST(PreviewProgress, isTheShareOfTheMaximumInWholePerCentsAndIgnoresReportsWithoutOne)
{
    struct Case
    {
        int progress;
        int maximum;
        std::optional<int> percent;
    };
    const Case cases[] = {
        {50, 200, 25}, {100, 100, 100}, {1, 3, 33},     {1, 200, 0},   {3, 200, 2},
        {-1, 100, {}}, {50, 0, {}},     {300, 200, {}}, {-5, 100, {}}, {2147483647, 2147483647, 100},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PreviewPane::progressPercent(c.progress, c.maximum), c.percent) << c.progress << "/" << c.maximum;
}

TEST_F(PreviewTest, withoutAutoPreviewTheShownSitePinIsBlankUntilPreviewAndTurningItOnWaitsForTheNext)
{
    startOnPages();
    clickSitePin("A");
    EXPECT_EQ(window().preview().currentAddress(), "about:blank");
    EXPECT_FALSE(view()) << "a blank preview starts no browser";
    showPreviewTab();
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/a")));
    EXPECT_EQ(m_server.requestCount("/a"), 1);
    EXPECT_EQ(ui().wbPreview->objectName(), "wbPreview");
    EXPECT_TRUE(ui().wbPreview->isVisible());
    EXPECT_EQ(ui().previewProgress->value(), 100);

    click(ui().chkAutoPreview);
    EXPECT_TRUE(window().m_blnAutoPreview);
    QTest::qWait(300);
    EXPECT_EQ(m_server.requestCount("/a"), 1) << "the shown SitePin is not loaded again";
    ASSERT_TRUE(finishesLoading([&] { clickSitePin("B"); }, m_server.url("/b")));
    EXPECT_EQ(m_server.requestCount("/b"), 1);
    EXPECT_FALSE(window().preview().isSilent());
    EXPECT_EQ(QApplication::focusWidget(), ui().tvwWM) << "the list keeps the keyboard";

    click(ui().chkAutoPreview);
    EXPECT_FALSE(window().m_blnAutoPreview);
    EXPECT_TRUE(finishesLoading([&] { clickSitePin("A"); }, "about:blank"));
    EXPECT_EQ(m_server.requestCount("/a"), 1);
}

TEST_F(PreviewTest, theBarFollowsASlowPageStopEndsItAndRefreshLoadsAgain)
{
    const QByteArray slowBody = page("Slow", QByteArray(4000, ' '));
    m_server.setAnswer("/slow", {.body = slowBody, .pieces = 20, .intervalMs = 150});
    m_server.setAnswer("/endless", {.body = slowBody, .pieces = 2000, .intervalMs = 150});
    startOnPages();
    clickSitePin("A");
    showPreviewTab();
    click(ui().chkAutoPreview);

    ui().txtAddress->setText(m_server.url("/slow"));
    click(ui().cmdPreview);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.piecesSent("/slow") >= 5; }, kLoadTimeoutMs));
    EXPECT_TRUE(ui().previewProgress->isVisible()) << "shown while the page arrives";
    EXPECT_LT(ui().previewProgress->value(), 100);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui().previewProgress->isVisible(); }, kLoadTimeoutMs));
    EXPECT_EQ(m_server.piecesSent("/slow"), 20);
    EXPECT_EQ(ui().previewProgress->value(), 100);
    EXPECT_EQ(view()->property("title").toString(), "Slow");

    ui().txtAddress->setText(m_server.url("/endless"));
    click(ui().cmdPreview);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.piecesSent("/endless") >= 3; }, kLoadTimeoutMs));
    ASSERT_TRUE(ui().previewProgress->isVisible());
    click(ui().cmdStop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.abandonedCount("/endless") == 1; }, kLoadTimeoutMs));
    // The server hears the connection go before the window hears the load end.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui().previewProgress->isVisible(); }, kLoadTimeoutMs));
    EXPECT_EQ(ui().previewProgress->value(), 100);

    ui().txtAddress->setText(m_server.url("/a"));
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/a")));
    const int before = m_server.requestCount("/a");
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdRefresh); }, m_server.url("/a")));
    EXPECT_EQ(m_server.requestCount("/a"), before + 1);
}

TEST_F(PreviewTest, anEditBlanksThePreviewAndPreviewLoadsTheAddressAsTyped)
{
    m_server.setPage("/typed", page("Typed"));
    startOnPages();
    clickSitePin("B");
    showPreviewTab();
    click(ui().chkAutoPreview);
    ASSERT_TRUE(finishesLoading([&] { clickSitePin("A"); }, m_server.url("/a")));

    EXPECT_TRUE(finishesLoading([&] { runMenu("mnuEditModify"); }, "about:blank"));
    EXPECT_EQ(ui().tabInfo->currentIndex(), 0) << "the edit shows the notes";
    ui().txtAddress->clear();
    QTest::keyClicks(ui().txtAddress, m_server.url("/typed"));
    showPreviewTab();
    EXPECT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/typed")));
    EXPECT_EQ(m_server.requestCount("/typed"), 1);
    EXPECT_EQ(ui().txtMode->text(), "mod") << "previewing leaves the edit open";
}

// Whatever a page tries, nothing is put in front of the user and it cannot
// reach the user's files.
TEST_F(PreviewTest, aPageOpensNoWindowAndNoDialogAndReachesNoLocalFile)
{
    m_server.setPage("/pushy", page("Pushy", "alert('Hello from the page');"
                                             "if (!window.open('/popup')) fetch('/no-window');"
                                             "setTimeout(function () { alert('Later'); fetch('/later'); }, 1500);"
                                             "location.href = 'file:///etc/hostname';"));
    startOnPages();
    clickSitePin("A");
    showPreviewTab();
    const QWidgetList topLevelsBefore = QApplication::topLevelWidgets();
    ui().txtAddress->setText(m_server.url("/pushy"));
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/pushy")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requestCount("/no-window") == 1; }, kLoadTimeoutMs));
    EXPECT_EQ(ui().lblStatus->text(), "Hello from the page") << "the page's message, in the status line";
    window().preview().setSilent(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requestCount("/later") == 1; }, kLoadTimeoutMs));
    EXPECT_EQ(ui().lblStatus->text(), "Hello from the page") << "silent: the later message leaves no trace";
    EXPECT_EQ(m_server.requestCount("/popup"), 0);
    EXPECT_EQ(shownAddress(), m_server.url("/pushy"));
    EXPECT_EQ(QApplication::topLevelWidgets(), topLevelsBefore);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    int views = 0;
    for (QWidget *widget : QApplication::allWidgets())
        views += widget->inherits("QWebEngineView") ? 1 : 0;
    EXPECT_EQ(views, 1);
}

// Neither a link clicked in the page nor a SitePin's address hands anything
// to another program; an address nobody answers is the page's own failure,
// not the program's.
TEST_F(PreviewTest, noOtherProgramIsStartedAndAnUnreachableAddressLeavesTheProgramResponsive)
{
    m_server.setPage("/mail",
                     "<html><body style='margin:0'><a href='mailto:someone@example.org' "
                     "style='display:block;height:400px'>Write</a><script>"
                     "document.body.onclick = function () { setTimeout(function () { fetch('/clicked'); }, 500); };"
                     "</script></body></html>");
    MailProgram mail;
    QDesktopServices::setUrlHandler("mailto", &mail, "open");
    startOnPages();
    clickSitePin("A");
    showPreviewTab();
    ui().txtAddress->setText(m_server.url("/mail"));
    ASSERT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, m_server.url("/mail")));
    QTest::mouseClick(view()->focusProxy(), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requestCount("/clicked") == 1; }, kLoadTimeoutMs));
    EXPECT_TRUE(mail.opened.isEmpty()) << "a link starts no other program";
    ui().txtAddress->setText("mailto:someone@example.org");
    EXPECT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, "about:blank")) << "nor does the address";
    EXPECT_TRUE(mail.opened.isEmpty());
    QDesktopServices::unsetUrlHandler("mailto");

    const QString unreachable = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort());
    ui().txtAddress->setText(unreachable);
    EXPECT_TRUE(finishesLoading([&] { click(ui().cmdPreview); }, unreachable));
    clickSitePin("B");
    EXPECT_EQ(ui().lblWName->caption(), "B") << "the window still answers";
}

#include "PreviewTest.moc"
