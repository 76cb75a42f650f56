#pragma once

#include "commandline/CommandLineOptions.h"
#include "commandline/CommandResult.h"
#include "exchange/BookmarkFormats.h"
#include "exchange/LibraryImport.h"
#include "exchange/SitePinAddition.h"
#include "store/SaveResult.h"
#include "store/XmlDocument.h"

#include <QDate>

#include <functional>
#include <optional>

class XMLDatabase;

// The commands on an open library, for the command line and for the window
// that a command is handed to. A change that cannot be saved is taken back
// out of the document, so that "nothing was changed" holds in memory too.
class LibraryCommands
{
public:
    struct Library
    {
        const XMLDatabase &database;
        XmlDocument dom;
        QDate today;
        std::function<SaveResult()> save;
    };

    static CommandResult add(const Library &library, const CommandLineOptions &options,
                             SitePinAddition::Outcome *added = nullptr);
    // `format`: by the file's content when none; `source`: by the file when
    // empty (LibraryImport::sourceOf).
    static CommandResult import(const Library &library, const QString &file, std::optional<BookmarkFormat> format,
                                const QString &source, const LibraryImport::Progress &progress = {},
                                LibraryImport::Outcome *imported = nullptr);
    static CommandResult search(const XmlDocument &dom, const CommandLineOptions &options);
    static CommandResult exportTo(const XmlDocument &dom, const CommandLineOptions &options);
};
