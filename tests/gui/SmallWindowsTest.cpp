#include "MainWindowFixture.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmHelpAbout.h"
#include "mainwindow/frmProgress.h"
#include "mainwindow/frmSplash.h"

#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

namespace {

// The pointer passing over a widget, as a mouse-tracking widget receives it.
void hover(QWidget *widget, QPoint at = {2, 2})
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

// A main window that became ready still waits for the next tick.
TEST(Splash, firstTickAfterHalfASecondThenEveryTenthAndClosesOnlyOnceUnloaded)
{
    QWidget mainWindow;
    QPointer<frmSplash> splash = new frmSplash(&mainWindow, true);
    splash->show();
    EXPECT_EQ(splash->timer()->interval(), 500);
    EXPECT_TRUE(splash->timer()->isActive());

    splash->Timer1_Timer();
    EXPECT_EQ(splash->timer()->interval(), 100) << "after the first tick it checks every tenth of a second";
    splash->setUnload();
    QCoreApplication::processEvents();
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_TRUE(splash->isVisible());

    splash->Timer1_Timer();
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); })) << "the splash closes itself";
}

TEST(AboutWindow, underlinesItsLinksUnderThePointerAndOpensThem)
{
    RecordingDesktop desktop;
    frmHelpAbout about(nullptr, desktop, true);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));

    hover(about.lblEMail());
    EXPECT_TRUE(about.lblEMail()->font().underline());
    hover(about.lblURL());
    EXPECT_TRUE(about.lblURL()->font().underline());
    hover(&about, QPoint(5, about.height() - 5));
    EXPECT_FALSE(about.lblEMail()->font().underline()) << "the background takes the underline from both";
    EXPECT_FALSE(about.lblURL()->font().underline());

    QTest::mouseClick(about.lblEMail(), Qt::LeftButton);
    QTest::mouseClick(about.lblURL(), Qt::LeftButton);
    ASSERT_EQ(desktop.opened.size(), 2u);
    EXPECT_EQ(desktop.opened[0].toString(), "mailto:support@example.org?Subject=Customer query");
    EXPECT_EQ(desktop.opened[1].toString(), "https://www.example.org/");
    EXPECT_FALSE(about.lblURL()->font().underline());
}

TEST(ProgressWindow, showsItselfFromZero)
{
    QWidget owner;
    frmProgress progress(&owner, true);
    progress.progress1()->setValue(40);
    progress.show();
    EXPECT_EQ(progress.progress1()->value(), 0);
}

using FontFallbackTest = MainWindowFixture;

// The design font must be there by its exact name.
TEST_F(FontFallbackTest, everyControlButVerdanaOnesSwitchesWhenTheDesignFontIsMissing)
{
    EXPECT_TRUE(FontFallback::isFontAvailable({"Arial", "Microsoft Sans Serif", "Verdana"}));
    EXPECT_FALSE(FontFallback::isFontAvailable({"microsoft sans serif", "Microsoft Sans Serif Bold"}));
    EXPECT_FALSE(FontFallback::isFontAvailable({}));
    startWith({});
    EXPECT_EQ(ui().tvwTopics->font().family(), "Microsoft Sans Serif") << "while the design font is installed";
    m_environment.fontAvailable = false;
    start();
    int verdana = 0;
    int switched = 0;
    for (const QWidget *control : window().findChildren<QWidget *>()) {
        if (control->objectName().isEmpty())
            continue; // Qt's own anonymous parts, created when needed, are not the window's controls
        const QString family = control->font().family();
        if (family == "Verdana") {
            ++verdana;
            continue;
        }
        EXPECT_EQ(family, QStringLiteral("MS Sans Serif"))
            << control->metaObject()->className() << " " << control->objectName().toStdString();
        ++switched;
    }
    EXPECT_GT(verdana, 3) << "the SitePin's own fields keep Verdana";
    EXPECT_GT(switched, 50);
}
