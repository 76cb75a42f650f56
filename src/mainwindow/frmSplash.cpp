#include "mainwindow/frmSplash.h"

#include "mainwindow/FontFallback.h"
#include "mainwindow/ThemeIcons.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

frmSplash::frmSplash(QWidget *mainWindow, bool fontAvailable, int firstTickMs, int pollMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_mainWindow(mainWindow)
    , m_timer(new QTimer(this))
    , m_version(new QLabel(this))
    , m_pollMs(pollMs)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(400, 220);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    shape->setGeometry(4, 4, 392, 212);
    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(
        ThemeIcons::icon(QStringLiteral("internet-web-browser"), QStyle::SP_ComputerIcon).pixmap(48, 48));
    picture1->setGeometry(24, 24, 48, 48);
    auto *picture2 = new QLabel(QStringLiteral("SitePins Manager"), this);
    picture2->setObjectName(QStringLiteral("Picture2"));
    picture2->setFont(QFont(QStringLiteral("Verdana"), 18, QFont::Bold));
    picture2->setGeometry(88, 28, 300, 40);
    auto *loading = new QLabel(QStringLiteral("Loading ..."), this);
    loading->setObjectName(QStringLiteral("Label1"));
    loading->setFont(FontFallback::designFont());
    loading->setGeometry(24, 170, 200, 24);
    m_version->setObjectName(QStringLiteral("lblVersion"));
    m_version->setText(QStringLiteral("v") + QStringLiteral("1.2"));
    m_version->setFont(FontFallback::designFont());
    m_version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_version->setGeometry(276, 170, 100, 24);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(firstTickMs);
    connect(m_timer, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    m_timer->start();
    FontFallback::applyIfMissing(fontAvailable, this);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::Timer1_Timer()
{
    if (!m_unload) {
        m_timer->setInterval(m_pollMs);
        return;
    }
    m_timer->stop();
    if (m_mainWindow)
        m_mainWindow->show();
    close();
}
