#pragma once

#include "exchange/LibraryImport.h"

#include <QString>

// What an import did, in the words both the window and the command line
// use.
class ImportSummary
{
public:
    static QString text(const LibraryImport::Outcome &outcome, const QString &topName, int skipped);
    static QString outOfIdentifiers(int leftOut);
};
