#include "mainwindow/TabCanvas.h"

#include <QEvent>
#include <QTabWidget>

TabCanvas::TabCanvas(QTabWidget *tabs, const QString &pageName, const QString &caption)
    : QWidget(nullptr)
    , m_tabs(tabs)
    , m_page(new QWidget)
{
    m_page->setObjectName(pageName);
    setParent(m_page);
    setObjectName(pageName + QStringLiteral("Canvas"));
    tabs->addTab(m_page, caption);
    m_page->installEventFilter(this);
    tabs->installEventFilter(this);
    followPage();
}

bool TabCanvas::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_page || watched == m_tabs) && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        followPage();
    return QWidget::eventFilter(watched, event);
}

void TabCanvas::followPage()
{
    const QPoint pageInTabs = m_page->mapTo(m_tabs, QPoint(0, 0));
    setGeometry(-pageInTabs.x(), -pageInTabs.y(), m_tabs->width(), m_tabs->height());
}
