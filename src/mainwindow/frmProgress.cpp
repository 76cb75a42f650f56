#include "mainwindow/frmProgress.h"

#include "mainwindow/FontFallback.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

frmProgress::frmProgress(QWidget *owner, bool fontAvailable)
    : QWidget(owner, Qt::Tool)
    , m_progress(new QProgressBar(this))
    , m_name(new QLabel(this))
    , m_name2(new QLabel(this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Loading..."));
    setFixedSize(380, 110);
    m_progress->setObjectName(QStringLiteral("progress1"));
    m_progress->setRange(0, 100);
    m_progress->setGeometry(12, 12, 356, 22);
    for (QLabel *line : {m_name, m_name2}) {
        line->setTextFormat(Qt::PlainText);
        line->setFont(FontFallback::designFont());
    }
    m_name->setObjectName(QStringLiteral("lblName"));
    m_name->setGeometry(12, 44, 356, 20);
    m_name2->setObjectName(QStringLiteral("lblName2"));
    m_name2->setGeometry(12, 72, 356, 20);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setFont(FontFallback::designFont());
    m_cancel->setGeometry(288, 102, 80, 26);
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &frmProgress::cancelRequested);
    m_timer->setObjectName(QStringLiteral("Timer2"));
    FontFallback::applyIfMissing(fontAvailable, this);
}

void frmProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    centreOverOwner();
    raise();
    m_progress->setValue(0);
}

// A tool window is not placed by Qt; without this it opens in the screen's
// corner, far from the window whose work it reports.
void frmProgress::centreOverOwner()
{
    if (const QWidget *owner = parentWidget())
        move(owner->frameGeometry().center() - rect().center());
}

void frmProgress::setLine(QLabel *line, const QString &text)
{
    line->setText(text);
    line->repaint();
}

void frmProgress::setCancellable(bool cancellable)
{
    m_cancel->setVisible(cancellable);
    setFixedSize(380, cancellable ? 140 : 110);
}

void frmProgress::closeEvent(QCloseEvent *event)
{
    if (m_cancel->isVisible())
        emit cancelRequested();
    QWidget::closeEvent(event);
}
