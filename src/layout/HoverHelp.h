#pragma once

#include <QHash>
#include <QObject>

#include <optional>
#include <vector>

class QWidget;
class frmSitePins;

// Help text in status bar panel 1 that follows the pointer over the
// toolbar, the hover look of the address label, and the places whose
// mouse moves empty the panel or give the label back its rest look.
class HoverHelp : public QObject
{
    Q_OBJECT

public:
    struct ButtonEdges
    {
        int left;
        int right;
    };

    explicit HoverHelp(frmSitePins &window);

    // Which of the buttons, in toolbar order, the pointer at x is over: button
    // i when x lies strictly between its left edge and button i + 1's, the
    // last when strictly inside it, none otherwise.
    static std::optional<std::size_t> buttonAt(const std::vector<ButtonEdges> &buttons, int x);

    void toolbarMouseMove(int x);
    void lblAddress_MouseMove();
    void showAddressRestLook();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Zone
    {
        Toolbar,
        Address,
        RestLook,
        EmptiesPanel,
        LeftTabs
    };

    void track(QWidget *widget, Zone zone);
    void trackTabControl(QWidget *tabs, Zone zone);
    void setPanelText(const QString &text);
    void mouseMoved(Zone zone, const QPoint &globalPos);

    frmSitePins &m_window;
    QHash<QObject *, Zone> m_zones;
};
