#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTreeWidget;
class frmSitePins;

// "SitePin detected": the pages found in the open browser windows, one of
// which the user may pick to start a new SitePin from.
class frmSitePinDialog : public QDialog
{
    Q_OBJECT

public:
    frmSitePinDialog(frmSitePins &window, const QStringList &names, const QStringList &addresses);

    QTreeWidget *tvwDetected = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Cancel, Escape and the close box alike: no SitePin is started.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void layOutControls();
    void Form_Load();
    void showEntry(int index);
    void cmdOK_Click();

    frmSitePins &m_window;
    QStringList m_names;
    QStringList m_addresses;
};
