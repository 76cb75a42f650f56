#pragma once

#include <QObject>
#include <QRect>

#include <optional>

class QPushButton;
class QWidget;
class frmSitePins;

// Keeps the main window's panes filled: the window resize pass on every
// resize of the window (and at each showing), the pane pass on every layout
// of the outer splitter, and what each tab switch shows and hides. Every
// step stands alone: one that would produce a negative size is skipped and
// the pass goes on.
class MainWindowLayout : public QObject
{
    Q_OBJECT

public:
    explicit MainWindowLayout(frmSitePins &window);

    void configureSplitters();
    void windowResizePass();
    void panePass();
    void tabIndex_Click();
    void tabInfo_Click(int previousTab);

    // Geometry of an element in twips, in its container's coordinates.
    QRect twipsRect(const QWidget *widget) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool setTwipsGeometry(QWidget *widget, int left, int top, int width, int height);
    bool setTwipsSize(QWidget *widget, int width, int height);
    bool setTwipsWidth(QWidget *widget, int width);
    bool setTwipsHeight(QWidget *widget, int height);
    bool setTwipsLeft(QWidget *widget, int left);
    void dockBars();
    void placeStatusPanels();
    std::optional<QRect> fitInfoTab();
    void fitDetailPanel();
    void fitDetailPanelFromPaneLayout();
    void placeMoveButtons();
    void makeDefaultButton(QPushButton *button);
    int clientWidth() const;
    int clientHeight() const;
    int outerWidth() const;

    frmSitePins &m_window;
    int m_infoTab = 0;
};
