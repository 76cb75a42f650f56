#pragma once

#include <QStatusBar>

class QLabel;

// A status bar of three fixed panels, numbered from 1 like the classic
// control: 1 hover help, 2 the current folder's path, 3 spare. The panels
// stand side by side from the bar's left edge at exactly the widths set.
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

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placePanels();

    QLabel *m_panels[3];
    int m_widths[3] = {};
};
