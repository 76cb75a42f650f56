#pragma once

#include <QStatusBar>

class QLabel;

// A status bar of three fixed panels, numbered from 1 like the classic
// control: 1 hover help, 2 the current folder's path, 3 spare.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);
    int panelWidth(int panel) const;
    void setPanelWidth(int panel, int width);
    QLabel *panel(int panel) const;

private:
    QLabel *m_panels[3];
};
