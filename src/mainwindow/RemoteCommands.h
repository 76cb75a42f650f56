#pragma once

#include "commandline/CommandResult.h"
#include "exchange/SitePinAddition.h"
#include "platform/Message.h"

#include <QObject>

class frmSitePins;
struct CommandLineOptions;

// Carries out the commands a command-line start hands to this window when
// it has their library open: the window shows the change, and only this
// program writes the file. A command waits for nobody: while a dialog is up
// or a SitePin is being edited, it is refused with the reason.
class RemoteCommands : public QObject
{
    Q_OBJECT

public:
    explicit RemoteCommands(frmSitePins &window);

    // The CommandReply to send back.
    Message answer(const Message &command);

private:
    bool hasLibraryOpen(const QString &library) const;
    QString busyReason() const;
    CommandResult add(const CommandLineOptions &options);
    void showAddition(const SitePinAddition::Outcome &added);

    frmSitePins &m_window;
};
