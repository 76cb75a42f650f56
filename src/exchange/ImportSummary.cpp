#include "exchange/ImportSummary.h"

#include "store/XMLDatabase.h"

QString ImportSummary::text(const LibraryImport::Outcome &outcome, const QString &topName, int skipped)
{
    QString text = QStringLiteral("Imported %1 folders and %2 SitePins into the new folder \"%3\".")
                       .arg(outcome.folders)
                       .arg(outcome.sitePins)
                       .arg(topName);
    if (skipped > 0)
        text += QStringLiteral(" %1 entries were left out: separators, scripts (javascript:), browser queries "
                               "(place:) and folders nested too deep.")
                    .arg(skipped);
    if (outcome.outOfIdentifiers)
        text += QLatin1Char(' ') + outOfIdentifiers(outcome.leftOut);
    return text;
}

QString ImportSummary::outOfIdentifiers(int leftOut)
{
    return QStringLiteral("The import stopped early: the library already holds the largest number of folders or "
                          "SitePins it can number (%1). What was imported until then has been saved; %2 folders and "
                          "SitePins were left out.")
        .arg(XMLDatabase::kMaxIdentifierNumber)
        .arg(leftOut);
}
