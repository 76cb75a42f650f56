#include "exchange/SitePinAddition.h"

#include "exchange/FolderPath.h"
#include "store/CreationDate.h"
#include "store/IdentifierRun.h"
#include "store/LibraryElements.h"
#include "store/LibraryLimits.h"
#include "store/XMLDatabase.h"

namespace {

SitePinAddition::Outcome failure(const QString &error)
{
    SitePinAddition::Outcome outcome;
    outcome.errorString = error;
    return outcome;
}

QString outOfIdentifiers(const char *kind)
{
    return QStringLiteral("The library already holds the largest number of %1 it can number (%2).")
        .arg(QLatin1String(kind))
        .arg(XMLDatabase::kMaxIdentifierNumber);
}

} // namespace

SitePinAddition::Outcome SitePinAddition::add(const XMLDatabase &database, XmlDocument dom, const Request &request,
                                              const QDate &today)
{
    SitePinFields fields;
    fields.address = request.address.trimmed();
    fields.name = request.name.trimmed().isEmpty() ? fields.address : request.name.trimmed();
    fields.createdDate = CreationDate::text(today);
    if (fields.address.isEmpty())
        return failure(QStringLiteral("The address is empty."));
    if (fields.address.size() > LibraryLimits::kMaxFieldLength || fields.name.size() > LibraryLimits::kMaxFieldLength)
        return failure(QStringLiteral("The name or the address is longer than %1 characters.")
                           .arg(LibraryLimits::kMaxFieldLength));
    QStringList names = FolderPath::split(request.folderPath);
    if (names.isEmpty())
        names << QString::fromLatin1(kDefaultFolder);
    if (names.size() > LibraryLimits::kMaxFolderDepth)
        return failure(QStringLiteral("The folder is nested deeper than the library can hold (%1 levels).")
                           .arg(LibraryLimits::kMaxFolderDepth));

    Outcome outcome;
    IdentifierRun identifiers(database);
    XmlNode container = dom.documentElement();
    for (const QString &name : std::as_const(names)) {
        XmlNode folder = FolderPath::child(container, name);
        if (!folder) {
            const QString tid = identifiers.nextTID();
            if (tid.isEmpty()) {
                undo(outcome);
                return failure(outOfIdentifiers("folders"));
            }
            folder = LibraryElements::appendFolder(dom, container, tid, name);
            outcome.createdFolders.push_back(folder);
        }
        outcome.folder = folder;
        container = folder.selectSingleNode(QStringLiteral("SUBFOLDERS"));
    }
    const QString wid = identifiers.nextWID();
    if (wid.isEmpty()) {
        undo(outcome);
        return failure(outOfIdentifiers("SitePins"));
    }
    XmlNode sitePins = outcome.folder.selectSingleNode(QStringLiteral("SITEPINS"));
    outcome.sitePin = LibraryElements::appendSitePin(dom, sitePins, wid, fields);
    outcome.ok = true;
    return outcome;
}

void SitePinAddition::undo(const Outcome &outcome)
{
    if (outcome.sitePin)
        outcome.sitePin.parentNode().removeChild(outcome.sitePin);
    // The outermost new folder holds the others.
    if (!outcome.createdFolders.empty()) {
        const XmlNode outermost = outcome.createdFolders.front();
        outermost.parentNode().removeChild(outermost);
    }
}

QString SitePinAddition::Outcome::summary() const
{
    const QString name = sitePin.selectSingleNode(QStringLiteral("NAME")).text();
    return createdFolders.empty()
               ? QStringLiteral("Added \"%1\" to %2.").arg(name, FolderPath::of(folder))
               : QStringLiteral("Added \"%1\" to %2 (new folder).").arg(name, FolderPath::of(folder));
}
