#include "mainwindow/frmHelpAbout.h"

#include "mainwindow/FontFallback.h"
#include "mainwindow/ThemeIcons.h"
#include "platform/ui/DesktopServices.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(FontFallback::designFont());
    label->setGeometry(geometry);
    return label;
}

} // namespace

frmHelpAbout::frmHelpAbout(QWidget *parent, DesktopServices &desktop, bool fontAvailable)
    : QDialog(parent)
    , m_desktop(desktop)
    , m_frame(new QFrame(this))
{
    setObjectName(QStringLiteral("frmHelpAbout"));
    setWindowTitle(QStringLiteral("About SitePins Manager"));
    setFixedSize(420, 260);
    setMouseTracking(true);

    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    shape->setGeometry(8, 8, 404, 84);
    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(
        ThemeIcons::icon(QStringLiteral("internet-web-browser"), QStyle::SP_ComputerIcon).pixmap(48, 48));
    picture1->setGeometry(20, 24, 48, 48);
    auto *picture2 = new QLabel(QStringLiteral("SitePins Manager"), this);
    picture2->setObjectName(QStringLiteral("Picture2"));
    picture2->setFont(QFont(QStringLiteral("Verdana"), 16, QFont::Bold));
    picture2->setGeometry(84, 30, 320, 36);

    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    m_frame->setGeometry(8, 100, 404, 110);
    m_frame->setMouseTracking(true);
    makeLabel(m_frame, QStringLiteral("Label1"), QStringLiteral("Version:"), QRect(16, 12, 80, 20));
    makeLabel(m_frame, QStringLiteral("lblVersion"), QStringLiteral("1.2.2"), QRect(100, 12, 200, 20));
    makeLabel(m_frame, QStringLiteral("Label2"), QStringLiteral("Mail:"), QRect(16, 44, 80, 20));
    m_email = makeLabel(m_frame, QStringLiteral("lblEMail"), QString::fromLatin1(kMakerMail), QRect(100, 44, 280, 20));
    makeLabel(m_frame, QStringLiteral("Label3"), QStringLiteral("Web:"), QRect(16, 76, 80, 20));
    m_url = makeLabel(m_frame, QStringLiteral("lblURL"), QStringLiteral("www.example.org"), QRect(100, 76, 280, 20));
    for (QLabel *link : {m_email, m_url}) {
        link->setMouseTracking(true);
        link->setCursor(Qt::PointingHandCursor);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(palette);
        link->installEventFilter(this);
    }
    m_frame->installEventFilter(this);
    installEventFilter(this);

    m_ok = new QPushButton(QStringLiteral("Exit"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setGeometry(316, 222, 96, 28);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    FontFallback::applyIfMissing(fontAvailable, this);
}

void frmHelpAbout::setUnderlined(QLabel *label, bool underlined)
{
    QFont font = label->font();
    font.setUnderline(underlined);
    label->setFont(font);
}

bool frmHelpAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_email || watched == m_url) {
            setUnderlined(static_cast<QLabel *>(watched), true);
            return true; // passed on, the frame behind would take the underline away again
        }
        if (watched == this || watched == m_frame) {
            setUnderlined(m_email, false);
            setUnderlined(m_url, false);
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_email)
            lblEMail_Click();
        else if (watched == m_url)
            lblURL_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void frmHelpAbout::lblEMail_Click()
{
    setUnderlined(m_email, false);
    m_desktop.openUrl(
        QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kMakerMail) + QStringLiteral("?Subject=Customer query")));
}

void frmHelpAbout::lblURL_Click()
{
    setUnderlined(m_url, false);
    m_desktop.openUrl(QUrl(QString::fromLatin1(kMakerWeb)));
}
