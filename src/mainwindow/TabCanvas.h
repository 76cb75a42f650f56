#pragma once

#include <QWidget>

class QTabWidget;

// The page of a tab control as one surface the size of the whole control:
// controls on it are placed in the control's own coordinates, tab strip
// included, whatever height this style gives the tabs.
class TabCanvas : public QWidget
{
    Q_OBJECT

public:
    TabCanvas(QTabWidget *tabs, const QString &pageName, const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followPage();

    QTabWidget *m_tabs;
    QWidget *m_page;
};
