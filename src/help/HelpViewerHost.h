#pragma once

#include "help/HtmlHelpApi.h"

#include <QObject>
#include <QPointer>

class DesktopServices;
class HelpPopup;
class HelpViewer;
class UserDialogs;

// The program's help viewer behind HtmlHelpA: one viewer window at a time,
// opened on demand, brought to the front by each further command, and
// switched over when another help file is asked for; and one text pop-up.
class HelpViewerHost : public QObject, public HtmlHelpApi
{
    Q_OBJECT

public:
    // The title of the viewer's own messages.
    static constexpr const char *kMessageTitle = "SitePins Help";

    HelpViewerHost(UserDialogs &dialogs, DesktopServices *desktop, QObject *parent = nullptr);
    ~HelpViewerHost() override;

    WId HtmlHelpA(QWidget *owner, const QString &file, int command, const HelpCommandData &data) override;

    HelpViewer *viewer() const;
    HelpPopup *popup() const;
    void closeAll();

private:
    // The open viewer when it shows this file, else a new one; null, and
    // the user told, when the file cannot be read as a help file.
    HelpViewer *viewerFor(const QString &file, bool &opened);
    void adopt(HelpViewer *viewer, QWidget *owner);
    bool run(HelpViewer *viewer, int command, const QString &topic, const HelpCommandData &data);
    WId showPopup(QWidget *owner, const QString &file, const HelpPopupRecord &record);

    UserDialogs &m_dialogs;
    DesktopServices *m_desktop;
    QPointer<HelpViewer> m_viewer;
    QPointer<HelpPopup> m_popup;
};
