#pragma once

#include "exchange/BookmarkFormats.h"

#include <QObject>

class frmSitePins;
class XmlNode;

// File > Export: the whole library, or the selected folder and the folders
// in it, to a Netscape bookmark file or an XBEL file.
class BookmarkExport : public QObject
{
    Q_OBJECT

public:
    explicit BookmarkExport(frmSitePins &window);

    void mnuFileExportNetscape_Click();
    void mnuFileExportXbel_Click();

private:
    void exportAs(BookmarkFormat format);
    // Null when the user keeps to the whole library.
    XmlNode chosenFolder();

    frmSitePins &m_window;
};
