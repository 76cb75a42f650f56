#pragma once

#include <QObject>
#include <QString>

class frmSitePins;

// The page preview of the displayed SitePin. The embedded browser itself
// is not part of the program yet: the pane keeps the address it was sent to
// and its silent mode, so the rest of the program already talks to it as it
// will to the real one.
class PreviewPane : public QObject
{
    Q_OBJECT

public:
    explicit PreviewPane(frmSitePins &window);

    // Loads the address when auto-preview is on, otherwise blanks the page.
    void showSitePinAddress(const QString &address);
    void blank();
    void navigate(const QString &address);
    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }
    QString currentAddress() const { return m_address; }

private:
    frmSitePins &m_window;
    QString m_address;
    bool m_silent = false;
};
