#pragma once

#include "commandline/CommandResult.h"
#include "exchange/BookmarkFormats.h"
#include "exchange/BrowserProfiles.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class frmSitePins;

// File > Import: a Netscape bookmark file, an XBEL file, a Firefox profile
// or a Chromium or Chrome profile, each into a new folder at the top of the
// library, saved once at the end, with the progress window while it runs.
class BookmarkImport : public QObject
{
    Q_OBJECT

public:
    explicit BookmarkImport(frmSitePins &window);

    void mnuFileImportNetscape_Click();
    void mnuFileImportXbel_Click();
    void mnuFileImportFirefox_Click();
    void mnuFileImportChromium_Click();

    // An --import handed over by a command-line start: the same import,
    // with the outcome returned instead of shown.
    CommandResult importHandedOver(const QString &file);

private:
    void importChosenFile(BookmarkFormat format, const QString &title, const QString &filter);
    void importChosenProfile(const std::vector<BrowserProfile> &profiles, const QString &browsers,
                             const QString &searched);
    // Tells whether the user cancelled in the progress window.
    CommandResult importFile(const QString &file, std::optional<BookmarkFormat> format, const QString &source,
                             bool *cancelled = nullptr);
    void showImportedFolder(const QString &tid);
    void report(const CommandResult &result);

    frmSitePins &m_window;
};
