#pragma once

#include "help/HTMLHelp.h"

#include <QObject>

class HelpViewerHost;
class frmSitePins;

// The Help menu's commands, and F1 in a window that names its help topic:
// any widget may carry the context number of its topic in the property
// HelpTopics::kContextProperty, and F1 with the focus in it or below it
// opens that topic instead of the contents.
class HelpCommands : public QObject
{
    Q_OBJECT

public:
    // The maker's page; the host is the program's own web site.
    static constexpr const char *kMakerPage = "https://www.sitepins-manager.org/SitePins/index.htm";

    explicit HelpCommands(frmSitePins &window);
    ~HelpCommands() override;

    void mnuHelpTopics_Click();
    void mnuHelpWeb_Click();
    void showContextHelp(int contextId, QWidget *from);
    void closeHelp();

    HelpViewerHost &viewerHost() { return *m_viewer; }
    QString helpFilePath() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HTMLHelp::Services services() const;
    static int helpContextOf(QWidget *widget);

    frmSitePins &m_window;
    HelpViewerHost *m_viewer;
};
