#pragma once

#include <QObject>

class XmlNode;
class frmSitePins;

// The right-hand panel that shows one SitePin, and the handlers that keep
// the status bar and the commands in step with what it shows.
class DetailPanel : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kNoSitePinSelected = "No SitePin selected";
    static constexpr const char *kNoFolderSelected = "No folder selected";

    explicit DetailPanel(frmSitePins &window);

    void displayWM();
    void displaySitePinElement(const XmlNode &element);

    bool isSitePinShown() const;
    bool isFolderCurrent() const;

    void lblTName_Change();
    void lblWName_Change();
    void txtWName_Change();

private:
    void setSitePinCommandsEnabled(bool enabled);

    frmSitePins &m_window;
};
