#pragma once

#include <QObject>

class XMLDatabase;
class frmSitePins;

// Copies the displayed SitePin's stored data to the clipboard: the text
// comes from the library, so unsaved typing in the editor is never copied.
class ClipboardCommands : public QObject
{
    Q_OBJECT

public:
    explicit ClipboardCommands(frmSitePins &window);

    void mnuEditClipSP_Click();
    void mnuEditClipName_Click();
    void mnuEditClipURL_Click();
    void mnuEditClipDesc_Click();
    void mnuEditClipNotes_Click();

private:
    using Accessor = QString (XMLDatabase::*)(const QString &) const;
    void copy(Accessor accessor);

    frmSitePins &m_window;
};
