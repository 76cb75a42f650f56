#include "mainwindow/frmProgress.h"

#include "mainwindow/FontFallback.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

frmProgress::frmProgress(QWidget *owner, bool fontAvailable)
    : QWidget(owner, Qt::Tool)
    , m_progress(new QProgressBar(this))
    , m_name(new QLabel(this))
    , m_name2(new QLabel(this))
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
    m_timer->setObjectName(QStringLiteral("Timer2"));
    FontFallback::applyIfMissing(fontAvailable, this);
}

void frmProgress::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    raise();
    m_progress->setValue(0);
}

void frmProgress::setLine(QLabel *line, const QString &text)
{
    line->setText(text);
    line->repaint();
}
