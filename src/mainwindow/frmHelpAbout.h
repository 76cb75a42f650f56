#pragma once

#include <QDialog>

class DesktopServices;
class QFrame;
class QLabel;
class QPushButton;

// The about window: version, and the maker's mail and web addresses, which
// underline under the pointer and open in the desktop's programs.
class frmHelpAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kMakerMail = "support@example.org";
    static constexpr const char *kMakerWeb = "https://www.example.org/";

    frmHelpAbout(QWidget *parent, DesktopServices &desktop, bool fontAvailable);

    QLabel *lblEMail() const { return m_email; }
    QLabel *lblURL() const { return m_url; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUnderlined(QLabel *label, bool underlined);
    void lblEMail_Click();
    void lblURL_Click();

    DesktopServices &m_desktop;
    QFrame *m_frame;
    QLabel *m_email;
    QLabel *m_url;
    QPushButton *m_ok;
};
